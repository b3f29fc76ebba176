#pragma once

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

// The copies Velkar keeps of a saved game before changing it, in the user's data folder and
// never in the game folder: <data>/Velkar/backups/<game folder's name>-<8 hex digits of a hash of
// its path>/, which holds folder.txt naming the game folder and saveNNN.dod.<local time>[-k].bak.
class Backups {
public:
    struct Entry {
        std::filesystem::path path;
        QDateTime time; // local, from the name
        std::uint64_t size = 0;
        int sequence = 0; // k of a name ending in -k.bak: the k+1st copy made in that second
    };

    static constexpr int KeptNewest = 20; // and the oldest, the file as it was before Velkar
    static constexpr qint64 RecentSeconds = 10 * 60;
    static constexpr const char* NotASavedGame = "This backup is not a saved game.";

    // The folder of the copies of every saved game of save's game folder.
    static std::filesystem::path FolderFor(const std::filesystem::path& save);
    // The copies of save, oldest first.
    static std::vector<Entry> List(const std::filesystem::path& save);
    // The same, newest first: the copy most often wanted back on top.
    static std::vector<Entry> NewestFirst(const std::filesystem::path& save);

    // Copies save as it is on disk, flushed before it returns, then drops all but the oldest and
    // the newest KeptNewest copies. Returns the copy. Throws FileError ("Velkar could not back up
    // saveNNN.dod before changing it: ... Nothing was written.") when it cannot.
    static std::filesystem::path Make(const std::filesystem::path& save);

    // velkar-cli's rule, so that a script of many calls makes one copy: true while the newest
    // copy is less than RecentSeconds old and save is as velkar-cli's last write after that copy
    // left it (NoteWritten).
    static bool CoveredByRecent(const std::filesystem::path& save);
    static void NoteWritten(const std::filesystem::path& save);

    // What a saved game runs before its first write: a copy while the setting is on, read at
    // each copy; with Recent::Covers (velkar-cli), none while CoveredByRecent.
    enum class Recent { Ignored, Covers };
    static std::function<void(const std::filesystem::path&)> Hook(Recent recent);

    // Throws FileError ("This backup is not a saved game.") unless backup holds a party.bin.
    static void CheckSavedGame(const std::filesystem::path& backup);
    // Copies save (whatever the setting: the question promised it), then writes backup over it
    // in place: the same file, cut to the backup's size, flushed. Returns the new copy.
    static std::filesystem::path Restore(const std::filesystem::path& save, const std::filesystem::path& backup);

    // "2024-05-01 13:07:42", as the lists and the question show a copy's time.
    static QString TimeText(const QDateTime& time);
    // The time, with "(2)", "(3)"... for the later copies made in the same second, so that
    // no two copies look the same.
    static QString Label(const Entry& entry);

private:
    static std::filesystem::path PrepareFolder(const std::filesystem::path& save);
    static std::filesystem::path Copy(const std::filesystem::path& save, const std::filesystem::path& folder);
    // Make, never pruning keep (the copy being restored).
    static std::filesystem::path MakeKeeping(const std::filesystem::path& save, const std::filesystem::path& keep);
    // Drops all but the oldest and the newest KeptNewest copies, and the two named.
    static void Prune(const std::filesystem::path& save, const std::filesystem::path& made,
                      const std::filesystem::path& keep);
    static QByteArray Digest(const std::filesystem::path& file);
};
