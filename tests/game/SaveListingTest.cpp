// What the start-up list and velkar-cli take for saved games: regular files only, links
// followed, read-only ones too, and never a hang on an entry that does not end.
#include "game/SaveListing.h"
#include "tests/support/SaveBuilder.h"
#include "tests/support/TempDirectory.h"

#ifndef _WIN32
#include "tests/support/Unprivileged.h"

#include <sys/stat.h>
#endif

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace {

#ifndef _WIN32
TEST(SaveListingTest, RegularFilesAreListedReadOnlyOnesTooAndNothingElse)
{
    namespace fs = std::filesystem;
    TempDirectory game;
    const fs::path saves = game / "Saves";
    fs::create_directories(saves);
    SaveBuilder("Writable").WriteTo(saves / "save000.dod");
    SaveBuilder("From a backup disc").WriteTo(saves / "save001.dod");
    fs::permissions(saves / "save001.dod", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::create_symlink("/dev/zero", saves / "save004.dod");        // a read that never ends
    ASSERT_EQ(::mkfifo((saves / "save005.dod").c_str(), 0644), 0); // a read that never starts
    fs::create_symlink(saves / "save000.dod", saves / "save006.dod");
    fs::create_directory(saves / "save007.dod");
    {
        // A name lookup reads a bounded stretch: a header.bin after 4 MiB of nothing is not looked for.
        std::ofstream far(saves / "save008.dod", std::ios::binary);
        far.seekp(288); // the name, if header.bin's offset of 0 were taken
        far.write("Too far", 8);
        far.seekp(std::streamoff{5} << 20);
        far.write("header.bin\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 32);
    }

    const std::string listed = Unprivileged::Run([&] {
        std::string out;
        for (const SaveListing::Row& row : SaveListing::Build(game.Path()))
            out += row.FileName + "=" + row.Name + "; ";
        for (const char* name : {"save001.dod", "save004.dod", "save005.dod"})
            out += std::to_string(SaveListing::CharacterNames(saves / name).size()) + " ";
        return out;
    });
    EXPECT_EQ(listed,
              "save000.dod=Writable; save001.dod=From a backup disc; save006.dod=Writable; save008.dod=; 50 0 0 ");
}
#endif

} // namespace
