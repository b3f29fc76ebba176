#include "game/Backups.h"

#include "game/PathText.h"
#include "game/SaveListing.h"
#include "game/UserSettings.h"
#include "model/Container.h"
#include "model/File.h"
#include "model/FileError.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>
#include <memory>
#include <system_error>
#include <tuple>

namespace {

const QString kStampFormat = QStringLiteral("yyyy-MM-dd'T'HH-mm-ss");
constexpr std::size_t kChunk = std::size_t{1} << 20;
constexpr int kMaxSameSecond = 1000; // a bound, not a limit anyone meets

struct Named {
    Backups::Entry entry;
    QString stamp; // sorts as the time does
    int k = 0;
};

// The same folder whichever way its name was written (a link, "..", a relative path).
std::filesystem::path GameFolder(const std::filesystem::path& save)
{
    const std::filesystem::path folder = SaveListing::GameFolderOf(save);
    std::error_code error;
    const std::filesystem::path canonical = std::filesystem::weakly_canonical(folder, error);
    return error ? folder.lexically_normal() : canonical;
}

std::vector<Named> Listed(const std::filesystem::path& save)
{
    std::vector<Named> found;
    const std::filesystem::path folder = Backups::FolderFor(save);
    std::error_code error;
    if (folder.empty() || !std::filesystem::is_directory(folder, error))
        return found;
    const QRegularExpression pattern(
        QStringLiteral("^%1\\.(\\d{4}-\\d\\d-\\d\\dT\\d\\d-\\d\\d-\\d\\d)(?:-(\\d+))?\\.bak$")
            .arg(QRegularExpression::escape(PathText::FileName(save))),
        QRegularExpression::CaseInsensitiveOption);
    // Without exceptions: a folder that cannot be read lists what was read.
    for (std::filesystem::directory_iterator item(folder, error), end; !error && item != end; item.increment(error)) {
        const QRegularExpressionMatch match = pattern.match(PathText::FileName(item->path()));
        std::error_code itemError;
        if (!match.hasMatch() || !item->is_regular_file(itemError))
            continue;
        const QDateTime time = QDateTime::fromString(match.captured(1), kStampFormat);
        const std::uintmax_t size = item->file_size(itemError);
        if (time.isValid() && !itemError)
            found.push_back(
                {{item->path(), time, size, match.captured(2).toInt()}, match.captured(1), match.captured(2).toInt()});
    }
    std::sort(found.begin(), found.end(),
              [](const Named& a, const Named& b) { return std::tie(a.stamp, a.k) < std::tie(b.stamp, b.k); });
    return found;
}

std::filesystem::path MarkOf(const std::filesystem::path& save)
{
    return Backups::FolderFor(save) / PathText::ToPath(PathText::FileName(save) + QStringLiteral(".written"));
}

std::vector<std::uint8_t> ReadAll(File& file)
{
    std::vector<std::uint8_t> bytes;
    for (std::size_t got = kChunk; got == kChunk;) {
        const std::size_t at = bytes.size();
        bytes.resize(at + kChunk);
        got = file.ReadAt(at, bytes.data() + at, kChunk);
        bytes.resize(at + got);
    }
    return bytes;
}

// Backups::CheckSavedGame on a file already open.
void RequireParty(File& file, const std::filesystem::path& backup)
{
    if (!FindMember(file, "party.bin"))
        throw FileError::Detected(Backups::NotASavedGame, backup);
}

} // namespace

std::filesystem::path Backups::FolderFor(const std::filesystem::path& save)
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty())
        return {};
    const std::filesystem::path game = GameFolder(save);
    QString key = QDir::fromNativeSeparators(PathText::ToText(game));
#ifdef _WIN32
    key = key.toCaseFolded(); // one folder, however its name is written
#endif
    const QByteArray hash = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha256).toHex().left(8);
    return PathText::ToPath(data) / "Velkar" / "backups" /
           PathText::ToPath(PathText::FileName(game) + QLatin1Char('-') + QString::fromLatin1(hash));
}

std::vector<Backups::Entry> Backups::List(const std::filesystem::path& save)
{
    std::vector<Entry> entries;
    for (Named& named : Listed(save))
        entries.push_back(std::move(named.entry));
    return entries;
}

std::vector<Backups::Entry> Backups::NewestFirst(const std::filesystem::path& save)
{
    std::vector<Entry> entries = List(save);
    std::reverse(entries.begin(), entries.end());
    return entries;
}

std::filesystem::path Backups::Make(const std::filesystem::path& save)
{
    return MakeKeeping(save, {});
}

std::filesystem::path Backups::MakeKeeping(const std::filesystem::path& save, const std::filesystem::path& keep)
{
    std::filesystem::path copy;
    try {
        copy = Copy(save, PrepareFolder(save));
    } catch (const FileError& error) {
        const QString text = QStringLiteral("Velkar could not back up %1 before changing it: %2. Nothing was written.")
                                 .arg(PathText::FileName(save), QString::fromLocal8Bit(error.Reason()));
        throw FileError::Detected(text.toLocal8Bit().toStdString(), save);
    }
    Prune(save, copy, keep);
    return copy;
}

std::filesystem::path Backups::PrepareFolder(const std::filesystem::path& save)
{
    const std::filesystem::path folder = FolderFor(save);
    if (folder.empty())
        throw FileError::Detected("there is no folder for the user's data", save);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
        throw FileError(error.message(), folder);
    const std::filesystem::path note = folder / "folder.txt";
    if (!std::filesystem::exists(note, error)) {
        const QByteArray text = (QDir::toNativeSeparators(PathText::ToText(GameFolder(save))) + '\n').toUtf8();
        File file;
        file.Create(note);
        file.WriteAt(0, text.constData(), static_cast<std::size_t>(text.size()));
        file.Flush();
    }
    return folder;
}

std::filesystem::path Backups::Copy(const std::filesystem::path& save, const std::filesystem::path& folder)
{
    File source;
    source.Open(save, File::Share::ReadWrite, File::Access::Read);
    const QString base =
        PathText::FileName(save) + QLatin1Char('.') + QDateTime::currentDateTime().toString(kStampFormat);
    std::filesystem::path name;
    std::filesystem::path part; // the copy is written under this name, so a cut-off copy is never listed
    File copy;
    for (int k = 0; !copy.IsOpen(); ++k) {
        name = folder /
               PathText::ToPath(base + (k == 0 ? QString() : QStringLiteral("-%1").arg(k)) + QStringLiteral(".bak"));
        part = name;
        part += ".part";
        std::error_code error;
        if (!std::filesystem::exists(name, error) && !std::filesystem::exists(part, error))
            copy.Create(part);
        else if (k == kMaxSameSecond)
            throw FileError::Detected("every name for this second is taken", name);
    }
    try {
        const auto buffer = std::make_unique_for_overwrite<std::uint8_t[]>(kChunk);
        std::uint64_t at = 0;
        for (std::size_t got = 0; (got = source.ReadAt(at, buffer.get(), kChunk)) != 0; at += got)
            copy.WriteAt(at, buffer.get(), got);
        copy.Flush();
        copy.Close();
        std::error_code error;
        std::filesystem::rename(part, name, error);
        if (error)
            throw FileError(error.message(), name);
    } catch (...) {
        copy.Close();
        std::error_code ignored;
        std::filesystem::remove(part, ignored);
        throw;
    }
    return name;
}

void Backups::Prune(const std::filesystem::path& save, const std::filesystem::path& made,
                    const std::filesystem::path& keep)
{
    const std::vector<Named> named = Listed(save);
    const auto kept = [&](const std::filesystem::path& path) {
        std::error_code ignored;
        return std::filesystem::equivalent(path, made, ignored) ||
               (!keep.empty() && std::filesystem::equivalent(path, keep, ignored));
    };
    // The oldest is the file as it was before Velkar first changed it: it stays.
    for (std::size_t i = 1; i + KeptNewest < named.size(); ++i) {
        std::error_code ignored;
        if (!kept(named[i].entry.path))
            std::filesystem::remove(named[i].entry.path, ignored);
    }
}

bool Backups::CoveredByRecent(const std::filesystem::path& save)
{
    const std::vector<Named> named = Listed(save);
    if (named.empty())
        return false;
    const qint64 age = named.back().entry.time.secsTo(QDateTime::currentDateTime());
    if (age < 0 || age >= RecentSeconds)
        return false;
    QFile mark(PathText::ToText(MarkOf(save)));
    if (!mark.open(QIODevice::ReadOnly))
        return false;
    const QByteArray digest = Digest(save);
    return !digest.isEmpty() && mark.readAll().trimmed() == digest;
}

void Backups::NoteWritten(const std::filesystem::path& save)
{
    if (Listed(save).empty())
        return;
    // Failing to note it only costs one more copy next time.
    QSaveFile mark(PathText::ToText(MarkOf(save)));
    if (mark.open(QIODevice::WriteOnly) && mark.write(Digest(save) + '\n') > 0)
        mark.commit();
}

std::function<void(const std::filesystem::path&)> Backups::Hook(Recent recent)
{
    return [recent](const std::filesystem::path& file) {
        if (UserSettings::MakeBackups() && (recent == Recent::Ignored || !CoveredByRecent(file)))
            Make(file);
    };
}

QByteArray Backups::Digest(const std::filesystem::path& file)
{
    try {
        File in;
        in.Open(file, File::Share::ReadWrite, File::Access::Read);
        const std::vector<std::uint8_t> bytes = ReadAll(in);
        return QCryptographicHash::hash(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())),
                                        QCryptographicHash::Sha256)
            .toHex();
    } catch (const FileError&) {
        return {};
    }
}

void Backups::CheckSavedGame(const std::filesystem::path& backup)
{
    File file;
    file.Open(backup, File::Share::ReadWrite, File::Access::Read);
    RequireParty(file, backup);
}

std::filesystem::path Backups::Restore(const std::filesystem::path& save, const std::filesystem::path& backup)
{
    File from;
    from.Open(backup, File::Share::ReadWrite, File::Access::Read);
    RequireParty(from, backup); // on the open file, so what is read is what was checked
    const std::vector<std::uint8_t> bytes = ReadAll(from);
    from.Close();
    File target;
    target.Open(save, File::Share::ReadWrite);
    const std::filesystem::path copy = MakeKeeping(save, backup);
    // In place, never through a new file in the game folder.
    target.WriteAt(0, bytes.data(), bytes.size());
    target.Resize(bytes.size());
    target.Flush();
    return copy;
}

QString Backups::TimeText(const QDateTime& time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString Backups::Label(const Entry& entry)
{
    const QString time = TimeText(entry.time);
    return entry.sequence > 0 ? QStringLiteral("%1 (%2)").arg(time).arg(entry.sequence + 1) : time;
}
