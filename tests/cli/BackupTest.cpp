// The copies velkar-cli keeps before it changes a saved game, and backups and restore.

#include "tests/cli/CliFixture.h"

#include "tests/support/Files.h"

#include <QDateTime>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>

namespace {

const char* const kStampFormat = "yyyy-MM-dd'T'HH-mm-ss";

class BackupTest : public CliFixture {
protected:
    // Every copy of save000.dod, oldest first: by the time in the name, then by the -k after it.
    std::vector<std::filesystem::path> Copies() const
    {
        std::vector<std::filesystem::path> copies;
        std::error_code error;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(home_ / "data" / "Velkar", error))
            if (entry.path().extension() == ".bak")
                copies.push_back(entry.path());
        const auto key = [](const std::filesystem::path& copy) {
            const std::string name = copy.filename().string();
            return std::pair(name.substr(12, 19), std::atoi(name.c_str() + 32));
        };
        std::sort(copies.begin(), copies.end(), [&](const auto& a, const auto& b) { return key(a) < key(b); });
        return copies;
    }
    // Each copy's name with its time that much earlier; their order stays.
    void Age(int seconds) const
    {
        for (const std::filesystem::path& copy : Copies()) {
            const std::string name = copy.filename().string();
            const std::size_t at = name.find(".dod.") + 5;
            const QDateTime time = QDateTime::fromString(QString::fromStdString(name.substr(at, 19)), kStampFormat);
            std::filesystem::rename(copy,
                                    copy.parent_path() / (name.substr(0, at) +
                                                          time.addSecs(-seconds).toString(kStampFormat).toStdString() +
                                                          name.substr(at + 19)));
        }
    }
    void WriteSettings(const char* text) const
    {
        std::filesystem::create_directories(home_ / "config" / "Velkar");
        std::ofstream(home_ / "config" / "Velkar" / "Velkar.ini") << text;
    }
};

} // namespace

TEST_F(BackupTest, AScriptOfManySetsMakesOneCopyUntilTheFileOrTheClockMovesOn)
{
    const std::filesystem::path save = Write(Played(5));
    const std::vector<std::uint8_t> original = ReadBytes(save);
    struct Step {
        const char* what;
        std::function<void()> before;
        std::size_t copies;
    };
    const Step steps[] = {
        {"the first write", [] {}, 1},
        {"another within ten minutes of the copy", [] {}, 1},
        {"and another", [] {}, 1},
        {"after the game wrote the file",
         [&] { std::ofstream(save, std::ios::binary | std::ios::in | std::ios::out).write("x", 1); }, 2},
        {"nine minutes after the newest copy", [&] { Age(9 * 60); }, 2},
        {"ten minutes after it", [&] { Age(60); }, 3},
        {"with Make Backups off, after the game wrote the file",
         [&] {
             WriteSettings("[General]\nMakeBackups=false\n");
             std::ofstream(save, std::ios::binary | std::ios::in | std::ios::out).write("y", 1);
         },
         3},
    };
    int gold = 0;
    for (const Step& step : steps) {
        step.before();
        const Result result = Run({"set", Text(save), QStringLiteral("party.Gold=%1").arg(++gold)});
        ASSERT_EQ(result.status, 0) << step.what << ": " << result.error.toStdString();
        EXPECT_EQ(Copies().size(), step.copies) << step.what;
    }
    EXPECT_EQ(ReadBytes(Copies().front()), original) << "the first copy is the file before velkar-cli changed it";
}

TEST_F(BackupTest, BackupsNumbersTheCopiesAndRestoreWritesTheChosenOneBack)
{
    const std::filesystem::path save = Write(Played(8));
    const std::vector<std::uint8_t> original = ReadBytes(save);
    ASSERT_EQ(Run({"set", Text(save), "party.Gold=5"}).status, 0);
    const std::vector<std::uint8_t> changed = ReadBytes(save);
    ASSERT_EQ(Copies().size(), 1u);
    const QString first = QString::fromStdString(Copies().front().filename().string());
    const QString time = QDateTime::fromString(first.mid(12, 19), kStampFormat).toString("yyyy-MM-dd HH:mm:ss");
    const Result listed = Run({"backups", Text(save)});
    EXPECT_EQ(listed.status, 0);
    EXPECT_EQ(QString::fromUtf8(listed.out),
              QStringLiteral("1\t%1\t%2\t%3\tBefore the Ogre Fortress\n").arg(first, time).arg(original.size()));

    struct Call {
        QStringList arguments;
        int status;
        const char* error; // the start of the standard error
        const std::vector<std::uint8_t>* file;
        std::size_t copies;
    };
    const std::filesystem::path junk = Copies().front().parent_path() / "save000.dod.2001-01-01T00-00-00.bak";
    std::ofstream(junk) << std::string(5000, 'x');
    const Call calls[] = {
        {{"restore", Text(save), "1"}, 2, "velkar-cli: restore replaces", &changed, 2},
        {{"restore", Text(save), "3", "--yes"}, 2, "velkar-cli: 3 is no backup of", &changed, 2},
        {{"restore", Text(save), "2", "--yes"}, 1, "velkar-cli: This backup is not a saved game.", &changed, 2},
        {{"restore", Text(save), "1", "--yes"}, 0, "", &original, 3},
        // The newest copy holds the file the last restore replaced.
        {{"restore", Text(save), "NEWEST", "--yes"}, 0, "", &changed, 4},
        {{"restore", Text(save), first, "--yes"}, 0, "", &original, 5},
    };
    for (const Call& call : calls) {
        QStringList arguments = call.arguments;
        arguments.replaceInStrings("NEWEST", QString::fromStdString(Copies().back().filename().string()));
        const Result result = Run(arguments);
        const std::string what = call.arguments.join(' ').toStdString();
        EXPECT_EQ(result.status, call.status) << what << ": " << result.error.toStdString();
        EXPECT_EQ(result.error.left(static_cast<qsizetype>(std::strlen(call.error))), call.error) << what;
        EXPECT_TRUE(ReadBytes(save) == *call.file) << what;
        EXPECT_EQ(Copies().size(), call.copies) << what;
    }
}
