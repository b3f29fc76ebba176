// CVelkarPage3, the sheet's "Spells" tab: the spells the character knows, one box each.

#include "dialogs/CVelkarPage3.h"

#include "dialogs/SpellBox.h"
#include "ui/ControlId.h"
#include "ui/Mnemonics.h"

#include "model/CharacterLayout.h"
#include "model/SaveGame.h"
#include "model/Vocabulary.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QSignalBlocker>

#include <algorithm>
#include <cstdint>
#include <span>
#include <string_view>

namespace {

using Page = CVelkarPage3;
namespace CL = CharacterLayout;

enum class Half { Upper, Lower };

// One group of flag bytes: its number in the record, where its boxes stand (the racial
// groups share a column, one below the other), its caption, and box ids for byte 0 onward; the texts are
// the vocabulary's.
struct Group {
    int group = 0;
    const char* caption = nullptr; // the school, so that the two "Charm" boxes can be told apart
    Half half = Half::Upper;
    int column = 0;
    std::array<int, CL::FullSpellGroupSize> ids{};
};

// A school's boxes carry consecutive ids.
constexpr std::array<int, CL::FullSpellGroupSize> Consecutive(int first)
{
    std::array<int, CL::FullSpellGroupSize> ids{};
    for (std::size_t k = 0; k < ids.size(); ++k)
        ids[k] = first + static_cast<int>(k);
    return ids;
}

constexpr int SizeOf(int group)
{
    return group < CL::FirstRacialSpellGroup ? CL::FullSpellGroupSize : CL::RacialSpellGroupSize;
}

constexpr std::string_view Text(int group, int byte)
{
    return Vocabulary::SpellNames[static_cast<std::size_t>(group)][static_cast<std::size_t>(byte)];
}

// In layout order: the upper half left to right, then the lower half.
// clang-format off
constexpr std::array<Group, CL::SpellGroupCount> kGroups = {{
    {.group = 0, .caption = "Fire", .half = Half::Upper, .column = 0, .ids = Consecutive(1086)},
    {.group = 1, .caption = "Air", .half = Half::Upper, .column = 1, .ids = Consecutive(1097)},
    {.group = 2, .caption = "Water", .half = Half::Upper, .column = 2, .ids = Consecutive(1108)},
    {.group = 3, .caption = "Earth", .half = Half::Upper, .column = 3, .ids = Consecutive(1119)},
    {.group = 9, .caption = "Dark Elf", .half = Half::Upper, .column = 4, .ids = {1141, 1186, 1188, 1189}},
    {.group = 10, .caption = "Vampire", .half = Half::Upper, .column = 4, .ids = {1190, 1191, 1192, 1193}},
    {.group = 11, .caption = "Dragon", .half = Half::Upper, .column = 4, .ids = {1194, 1195, 1196, 1197}},
    {.group = 4, .caption = "Spirit", .half = Half::Lower, .column = 0, .ids = Consecutive(1130)},
    {.group = 5, .caption = "Mind", .half = Half::Lower, .column = 1, .ids = Consecutive(1142)},
    {.group = 6, .caption = "Body", .half = Half::Lower, .column = 2, .ids = Consecutive(1153)},
    {.group = 7, .caption = "Light", .half = Half::Lower, .column = 3, .ids = Consecutive(1164)},
    {.group = 8, .caption = "Dark", .half = Half::Lower, .column = 4, .ids = Consecutive(1175)},
}};
// clang-format on

// One box, flattened from the groups in layout order, with its grid position.
struct Box {
    int id;
    std::string_view text;
    int group;
    int byte;
    int row;
    int column;
};

// A group's caption, on the row above its first box.
struct Caption {
    const char* text;
    int row;
    int column;
};

// Layout.
constexpr int kColumnGap = 18;
constexpr int kRowGap = 2;
constexpr int kColumnCount = 5;
constexpr int kSeparatorRow = 15; // below the racial column: three groups of four, each with its caption
constexpr int kFirstLowerRow = kSeparatorRow + 1;

// The grid row of each group's caption, and of each of its boxes below it.
template <class Visit>
constexpr void Walk(Visit visit)
{
    std::array<int, 2 * kColumnCount> used{};
    for (const Group& g : kGroups) {
        const bool upper = g.half == Half::Upper;
        int& row = used[static_cast<std::size_t>((upper ? 0 : kColumnCount) + g.column)];
        const int first = upper ? 0 : kFirstLowerRow;
        visit(g, -1, first + row++);
        for (int k = 0; k < SizeOf(g.group); ++k)
            visit(g, k, first + row++);
    }
}

constexpr std::array<Box, Page::BoxCount> Flatten()
{
    std::array<Box, Page::BoxCount> boxes{};
    std::size_t i = 0;
    Walk([&](const Group& g, int k, int row) {
        if (k >= 0)
            boxes[i++] = {g.ids[static_cast<std::size_t>(k)], Text(g.group, k), g.group, k, row, g.column};
    });
    return boxes;
}
constexpr std::array<Box, Page::BoxCount> kBoxes = Flatten();

constexpr std::array<Caption, CL::SpellGroupCount> Captions()
{
    std::array<Caption, CL::SpellGroupCount> captions{};
    std::size_t i = 0;
    Walk([&](const Group& g, int k, int row) {
        if (k < 0)
            captions[i++] = {g.caption, row, g.column};
    });
    return captions;
}
constexpr std::array<Caption, CL::SpellGroupCount> kCaptions = Captions();

constexpr bool EveryBoxOnce()
{
    int boxes = 0;
    for (const Group& g : kGroups) {
        for (int k = 0; k < CL::FullSpellGroupSize; ++k) {
            const bool used = k < SizeOf(g.group);
            const auto at = static_cast<std::size_t>(k);
            if (used != (g.ids[at] != 0) || used != !Text(g.group, k).empty())
                return false;
        }
        boxes += SizeOf(g.group);
    }
    // A column too long for the upper half would run into the separator first.
    for (const Box& b : kBoxes) {
        if (b.row == kSeparatorRow)
            return false;
    }
    for (const Caption& c : kCaptions) {
        if (c.text == nullptr || c.row == kSeparatorRow)
            return false;
    }
    return boxes == Page::BoxCount;
}
static_assert(EveryBoxOnce());

} // namespace

CVelkarPage3::CVelkarPage3(SaveGame& save, int n) : CharacterPage(QStringLiteral("Spells"), save, n)
{}

void CVelkarPage3::OnCreate()
{
    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(kColumnGap);
    grid->setVerticalSpacing(kRowGap);
    for (const Caption& c : kCaptions) {
        auto* caption = new QLabel(QString::fromLatin1(c.text));
        QFont font = caption->font();
        font.setBold(true);
        caption->setFont(font);
        grid->addWidget(caption, c.row, c.column);
    }
    for (const Box& b : kBoxes) {
        auto* box = new SpellBox(QString::fromLatin1(b.text.data(), static_cast<qsizetype>(b.text.size())));
        ControlId::Give(box, b.id);
        Mnemonics::GiveWay(*box);
        grid->addWidget(box, b.row, b.column);
    }
    auto* separator = new QFrame;
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    grid->addWidget(separator, kSeparatorRow, 0, 1, kColumnCount);
    grid->setRowStretch(grid->rowCount(), 1);
}

void CVelkarPage3::LoadFromModel()
{
    for (std::size_t i = 0; i < kBoxes.size(); ++i) {
        const std::span<const std::uint8_t> bytes = Game().GetSpellGroup(Number(), kBoxes[i].group);
        const std::uint8_t flag = bytes[static_cast<std::size_t>(kBoxes[i].byte)];
        // Only 0 and 1 are known to the game; anything else is shown as partly checked.
        shown_[i] = flag == 0 ? Qt::Unchecked : flag == 1 ? Qt::Checked : Qt::PartiallyChecked;
        auto* box = Control<SpellBox>(kBoxes[i].id);
        // Showing the stored value is not a user's change.
        const QSignalBlocker blocker(box);
        box->setCheckState(shown_[i]);
    }
}

void CVelkarPage3::StoreToModel()
{
    std::array<std::array<std::uint8_t, CL::FullSpellGroupSize>, CL::SpellGroupCount> groups{};
    std::array<bool, CL::SpellGroupCount> changed{};
    for (int g = 0; g < CL::SpellGroupCount; ++g) {
        const std::span<const std::uint8_t> bytes = Game().GetSpellGroup(Number(), g);
        std::copy(bytes.begin(), bytes.end(), groups[static_cast<std::size_t>(g)].begin());
    }
    // Only the boxes the user clicked change their byte; a click never leads back to the
    // partly checked state, so that state still holds the byte the game wrote.
    for (std::size_t i = 0; i < kBoxes.size(); ++i) {
        const Qt::CheckState state = Control<SpellBox>(kBoxes[i].id)->checkState();
        if (state == shown_[i])
            continue;
        shown_[i] = state;
        const auto g = static_cast<std::size_t>(kBoxes[i].group);
        groups[g][static_cast<std::size_t>(kBoxes[i].byte)] = state == Qt::Checked ? 1 : 0;
        changed[g] = true;
    }
    for (int g = 0; g < CL::SpellGroupCount; ++g) {
        const auto at = static_cast<std::size_t>(g);
        if (changed[at])
            Game().SetSpellGroup(Number(), g, std::span(groups[at].data(), static_cast<std::size_t>(SizeOf(g))));
    }
}
