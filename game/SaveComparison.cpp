#include "game/SaveComparison.h"

#include "game/SaveFields.h"
#include "model/CharacterLayout.h"
#include "model/File.h"

#include <QStringList>

#include <algorithm>
#include <cstdint>
#include <string>

namespace {

namespace CL = CharacterLayout;
using Line = SaveComparison::Line;
using Span = SaveFields::Span;

// Longer than any saved game: the bytes outside the window are compared up to here.
constexpr std::uint64_t kContainerLimit = 64u << 20;
constexpr int kRangesShown = 8;

// The bits of the spans, byte by byte.
std::string Bits(const SaveGame& game, const std::vector<Span>& spans)
{
    const std::span<const std::uint8_t> window = game.GetWindow();
    std::string bits;
    for (const Span& span : spans) {
        for (int i = 0; i < span.width; ++i) {
            const std::uint64_t mask = i < 8 ? (span.mask >> (8 * i)) & 0xFF : 0xFF;
            bits.push_back(static_cast<char>(window[static_cast<std::size_t>(span.offset + i)] & mask));
        }
    }
    return bits;
}

void Cover(std::vector<std::uint8_t>& covered, const std::vector<Span>& spans)
{
    for (const Span& span : spans) {
        for (int i = 0; i < span.width; ++i)
            covered[static_cast<std::size_t>(span.offset + i)] |= i < 8 ? (span.mask >> (8 * i)) & 0xFF : 0xFF;
    }
}

// "7140-7151, 7160", at most kRangesShown ranges.
QString Ranges(const std::vector<std::int64_t>& offsets)
{
    QStringList ranges;
    for (std::size_t i = 0; i < offsets.size();) {
        std::size_t j = i;
        while (j + 1 < offsets.size() && offsets[j + 1] == offsets[j] + 1)
            ++j;
        if (ranges.size() == kRangesShown) {
            ranges.append(QStringLiteral("..."));
            break;
        }
        ranges.append(i == j ? QString::number(offsets[i]) : QStringLiteral("%1-%2").arg(offsets[i]).arg(offsets[j]));
        i = j + 1;
    }
    return ranges.join(QStringLiteral(", "));
}

Line Other(const QString& path, const std::vector<std::int64_t>& offsets)
{
    Line line;
    line.kind = Line::Kind::OtherBytes;
    line.path = path;
    line.count = static_cast<int>(offsets.size());
    line.offsets = Ranges(offsets);
    return line;
}

class Comparer {
public:
    Comparer(const SaveComparison::Save& a, const SaveComparison::Save& b)
        : a_(a), b_(b), covered_(std::min(a.game.GetWindow().size(), b.game.GetWindow().size()))
    {}

    void Fields(int n);
    // The window bytes [begin, end) no field holds that differ, as offsets from origin.
    std::vector<std::int64_t> Uncovered(int begin, int end, int origin) const;
    void Container();
    std::vector<Line> lines;

private:
    void Field(int n, const SaveField& field);
    static std::vector<std::uint8_t> Read(const std::filesystem::path& path);

    const SaveComparison::Save& a_;
    const SaveComparison::Save& b_;
    std::vector<std::uint8_t> covered_; // bits some field holds, in either game
};

void Comparer::Fields(int n)
{
    // Both walks, merged by rank: an item or award one of them lacks is none there.
    const std::vector<SaveField> first = SaveFields::List(a_.game, n);
    const std::vector<SaveField> second = SaveFields::List(b_.game, n);
    auto i = first.begin();
    auto j = second.begin();
    while (i != first.end() || j != second.end()) {
        if (j == second.end() || (i != first.end() && i->rank <= j->rank)) {
            if (j != second.end() && i->rank == j->rank)
                ++j;
            Field(n, *i++);
        } else {
            Field(n, *j++);
        }
    }
}

void Comparer::Field(int n, const SaveField& field)
{
    const SaveFields::Bytes first = SaveFields::Where(a_.game, n, field);
    const SaveFields::Bytes second = SaveFields::Where(b_.game, n, field);
    for (const SaveFields::Bytes* bytes : {&first, &second}) {
        Cover(covered_, bytes->value);
        Cover(covered_, bytes->rest);
    }
    // An item in one of them only: its number's line says none; its other words need none.
    if (field.kind == SaveField::Kind::Item && field.sub != 0 && (first.value.empty() || second.value.empty()))
        return;
    const bool valueDiffers = Bits(a_.game, first.value) != Bits(b_.game, second.value);
    if (!valueDiffers && Bits(a_.game, first.rest) == Bits(b_.game, second.rest))
        return;
    Line line;
    line.path = SaveFields::Path(n, field);
    line.a = first.value.empty() ? QJsonValue() : SaveFields::Compared(a_.game, a_.codec, n, field);
    line.b = second.value.empty() ? QJsonValue() : SaveFields::Compared(b_.game, b_.codec, n, field);
    line.isText = SaveFields::IsText(field);
    // Printed alike (a tail after a text's end, sub-minute ticks, unused bits): said so.
    if (!valueDiffers || line.Side(line.a) == line.Side(line.b))
        line.kind = Line::Kind::SameBytes;
    lines.push_back(std::move(line));
}

std::vector<std::int64_t> Comparer::Uncovered(int begin, int end, int origin) const
{
    const std::span<const std::uint8_t> first = a_.game.GetWindow();
    const std::span<const std::uint8_t> second = b_.game.GetWindow();
    std::vector<std::int64_t> offsets;
    end = std::min(end, static_cast<int>(covered_.size()));
    for (int i = std::max(begin, 0); i < end; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (((first[k] ^ second[k]) & ~covered_[k]) != 0)
            offsets.push_back(i - origin);
    }
    return offsets;
}

std::vector<std::uint8_t> Comparer::Read(const std::filesystem::path& path)
{
    File file;
    file.Open(path, File::Share::ReadWrite, File::Access::Read);
    std::vector<std::uint8_t> bytes;
    std::size_t got = 0;
    do {
        bytes.resize(bytes.size() + (1u << 20));
        got = file.ReadAt(bytes.size() - (1u << 20), bytes.data() + bytes.size() - (1u << 20), 1u << 20);
        bytes.resize(bytes.size() - (1u << 20) + got);
    } while (got != 0 && bytes.size() < kContainerLimit);
    return bytes;
}

void Comparer::Container()
{
    const std::vector<std::uint8_t> first = Read(a_.path);
    const std::vector<std::uint8_t> second = Read(b_.path);
    // Before the window, from the file's start; after it, from the window's end.
    std::vector<std::int64_t> offsets;
    const auto compare = [&](std::size_t fromA, std::size_t endA, std::size_t fromB, std::size_t endB) {
        const std::size_t length = std::max(endA - std::min(fromA, endA), endB - std::min(fromB, endB));
        for (std::size_t i = 0; i < length; ++i) {
            const bool inA = fromA + i < endA;
            const bool inB = fromB + i < endB;
            if (inA != inB || (inA && first[fromA + i] != second[fromB + i]))
                offsets.push_back(static_cast<std::int64_t>(inA ? fromA + i : fromB + i));
        }
    };
    const std::size_t startA = std::min<std::size_t>(a_.game.GetDataOffset(), first.size());
    const std::size_t startB = std::min<std::size_t>(b_.game.GetDataOffset(), second.size());
    compare(0, startA, 0, startB);
    compare(std::min(startA + a_.game.GetWindowSize(), first.size()), first.size(),
            std::min(startB + b_.game.GetWindowSize(), second.size()), second.size());
    if (!offsets.empty())
        lines.push_back(Other(QStringLiteral("container"), offsets));
    // No saved game is that long: what lies further is named, not read.
    if (first.size() >= kContainerLimit || second.size() >= kContainerLimit)
        lines.push_back(Other(QStringLiteral("container"), {}));
}

} // namespace

QString Line::Side(const QJsonValue& value) const
{
    switch (value.type()) {
    case QJsonValue::String:
        if (isText) {
            QString text = value.toString();
            text.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('"'), QLatin1String("\\\""));
            return QLatin1Char('"') + text + QLatin1Char('"');
        }
        return value.toString();
    case QJsonValue::Double:
        return QString::number(value.toInteger());
    default:
        return QStringLiteral("none");
    }
}

QString Line::Text() const
{
    switch (kind) {
    case Kind::Value:
        return QStringLiteral("%1: %2 -> %3").arg(path, Side(a), Side(b));
    case Kind::SameBytes:
        return QStringLiteral("%1: %2 in both, but its stored bytes differ").arg(path, Side(a));
    case Kind::OtherBytes:
        break;
    }
    if (count == 0)
        return QStringLiteral("%1: not compared past its first %2 MiB").arg(path).arg(kContainerLimit >> 20);
    const QString bytes =
        count == 1 ? QStringLiteral("1 other byte differs") : QStringLiteral("%1 other bytes differ").arg(count);
    if (path == QStringLiteral("container"))
        return QStringLiteral("container: %1 outside the window, at file offsets %2").arg(bytes, offsets);
    return QStringLiteral("%1: %2, at %3 offsets %4")
        .arg(path, bytes, path == QStringLiteral("window") ? QStringLiteral("window") : QStringLiteral("record"),
             offsets);
}

SaveComparison::Scope SaveComparison::Everything()
{
    Scope scope;
    for (int n = 1; n <= CL::CharacterCount; ++n)
        scope.characters.push_back(n);
    return scope;
}

std::vector<Line> SaveComparison::Compare(const Save& a, const Save& b, const Scope& scope)
{
    Comparer comparer(a, b);
    if (scope.party || scope.rest)
        comparer.Fields(0);
    if (!scope.party)
        comparer.lines.clear(); // walked only so that the rest of the window leaves its bytes out
    for (const int n : scope.characters) {
        comparer.Fields(n);
        const int start = SaveFields::RecordStart(n);
        const std::vector<std::int64_t> offsets =
            comparer.Uncovered(start + CL::OwnBytesStart, start + CL::OwnBytesStart + CL::OwnBytesSize, start);
        if (!offsets.empty())
            comparer.lines.push_back(Other(QStringLiteral("character[%1]").arg(n), offsets));
    }
    if (scope.rest) {
        // Every character's own bytes have their lines: the rest of the window is what lies outside them.
        const int first = SaveFields::RecordStart(1) + CL::OwnBytesStart;
        const int last = SaveFields::RecordStart(CL::CharacterCount) + CL::OwnBytesStart + CL::OwnBytesSize;
        std::vector<std::int64_t> offsets = comparer.Uncovered(0, first, 0);
        const std::vector<std::int64_t> after =
            comparer.Uncovered(last, static_cast<int>(a.game.GetWindow().size()), 0);
        offsets.insert(offsets.end(), after.begin(), after.end());
        if (!offsets.empty())
            comparer.lines.push_back(Other(QStringLiteral("window"), offsets));
        comparer.Container();
    }
    return comparer.lines;
}
