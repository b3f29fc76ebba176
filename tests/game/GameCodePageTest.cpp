#include "game/GameCodePage.h"
#include "game/UserSettings.h"
#include "tests/support/SaveBuilder.h"
#include "tests/support/TempDirectory.h"
#include "tests/support/TranscribedLayout.h"
#include "tests/support/WinePrefixWriter.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using Page = TextCodec::Page;

// "长剑 x" as the fan translation stores it.
const std::string kWrapped = "\x0E\x20\x0E\xB3\xA4\x07\x20\x0E\xBD\xA3\x07\x0F\x20x";

enum class Wrapped { Nowhere, InTheSavesName, InACharactersName };

struct DecisionCase {
    std::optional<Page> remembered;
    Wrapped wrapped;
    unsigned prefixCodePage; // 0: the folder lies in no prefix
    Page decided;
};

} // namespace

TEST(GameCodePage, TheRememberedChoiceThenTheWrappingThenThePrefixThenWestern)
{
    const DecisionCase cases[] = {
        {Page::Korean, Wrapped::InTheSavesName, 1251, Page::Korean},
        {std::nullopt, Wrapped::InTheSavesName, 1251, Page::ChineseFan},
        {std::nullopt, Wrapped::InACharactersName, 1251, Page::ChineseFan},
        {std::nullopt, Wrapped::Nowhere, 1251, Page::Cyrillic},
        {std::nullopt, Wrapped::Nowhere, 936, Page::ChineseSimplified},
        {std::nullopt, Wrapped::Nowhere, 65001, Page::Western}, // a code page the game never had
        {std::nullopt, Wrapped::Nowhere, 0, Page::Western},
    };
    for (const DecisionCase& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.decided));
        UserSettings::Clear();
        const TempDirectory root;
        std::filesystem::path game = root / "MM8";
        if (c.prefixCodePage != 0) {
            WinePrefixWriter prefix(root / "prefix");
            prefix.CodePage(static_cast<int>(c.prefixCodePage)).Save();
            game = prefix.MakeFolder("Games/MM8");
        }
        std::filesystem::create_directories(game / "Saves");
        SaveBuilder("Ravenshore").WriteTo(game / "Saves" / "save000.dod");
        SaveBuilder save(c.wrapped == Wrapped::InTheSavesName ? kWrapped : "Alvar");
        if (c.wrapped == Wrapped::InACharactersName)
            save.PutText(TranscribedLayout::At("Name", 50), kWrapped + '\0');
        save.WriteTo(game / "Saves" / "save007.dod");
        if (c.remembered)
            UserSettings::SetCodePage(game, *c.remembered);

        EXPECT_EQ(GameCodePage::Decide(game, SaveListing::Build(game)), c.decided);
    }
    UserSettings::Clear();
}

// One saved game wherever it lies: its own names first, then its real folder's remembered choice.
TEST(GameCodePage, ASavesOwnNamesAndItsRealFolderDecideWhereverItLies)
{
    namespace fs = std::filesystem;
    UserSettings::Clear();
    const TempDirectory root;
    const fs::path game = root / "MM8";
    fs::create_directories(game / "Saves");
    SaveBuilder("Alvar").WriteTo(game / "Saves" / "save000.dod");
    SaveBuilder(kWrapped).WriteTo(root / "named.dod"); // loose copies
    SaveBuilder character("Alvar");
    character.PutText(TranscribedLayout::At("Name", 3), kWrapped + '\0');
    character.WriteTo(root / "character.dod");
    fs::create_directory_symlink(game / "Saves", root / "linked saves");
    fs::create_directory_symlink(game, root / "linked game");
    EXPECT_EQ(GameCodePage::ForSave(root / "named.dod"), Page::ChineseFan);
    EXPECT_EQ(GameCodePage::ForSave(root / "character.dod"), Page::ChineseFan);
    // Chosen through one link, found through another and through the real folder.
    UserSettings::SetCodePage(root / "linked game", Page::Cyrillic);
    EXPECT_EQ(GameCodePage::ForSave(root / "linked saves" / "save000.dod"), Page::Cyrillic);
    EXPECT_EQ(GameCodePage::Decide(game, SaveListing::Build(game)), Page::Cyrillic);
    UserSettings::Clear();
}
