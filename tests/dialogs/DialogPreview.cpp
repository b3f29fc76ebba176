// Shows a dialog on a freshly built saved game, for looking at it (and taking
// screenshots) on a real display.
//   velkar_dialog_preview party        the party dialog
//   velkar_dialog_preview sheet [TAB]  the character sheet, on tab TAB (0 = Stats)
//   velkar_dialog_preview sheet TAB GAME   the same with the item table and pictures of the
//                                          game folder GAME (the demo's, say)
#include "dialogs/CVelkarSheet.h"
#include "dialogs/PartyDialog.h"

#include "model/GameData.h"
#include "model/SaveGame.h"
#include "tests/support/SaveBuilder.h"
#include "tests/support/TempDirectory.h"

#include <QApplication>
#include <QIcon>
#include <QTabBar>
#include <QTimer>

#include <array>
#include <cstdint>
#include <cstring>

namespace {

int ShowParty(const std::filesystem::path& path)
{
    PartyDialog dialog(path);
    if (!dialog.Open())
        return 1;
    dialog.move(0, 0);
    dialog.show();
    return QApplication::exec();
}

int ShowSheet(const std::filesystem::path& path, int tab, const std::filesystem::path& game)
{
    SaveGame save;
    if (!save.Open(path, game.empty() ? GameWords::BuiltIn()
                                      : GameWords::FromGame(GameData::Load(game), GameWords::WesternCodePage)))
        return 1;
    constexpr int n = 2;
    save.SetDescription(n, "A veteran of the border wars.\r\nPrefers the axe.");
    save.SetSkillAxe(n, 0x0080 | 12);
    save.SetSkillBodybuilding(n, 0x0100 | 5);
    save.SetSkillFire(n, 0x0040 | 7);
    constexpr std::array<std::uint8_t, 11> fire = {1, 1, 1, 0, 1, 2, 0, 0, 0, 0, 0};
    save.SetSpellsFire(n, fire);
    save.SetConditionWeak(n, 1, {1, 5, 0});
    save.SetConditionPoisonYellow(n, 1, {0, -3, 0});
    // A longsword of Charm +5, chain mail, a buckler, a ring, two potions, two wands, a book, and
    // an item only a modded game names.
    for (const auto& [number, enchantment1, modifier] : std::array<std::array<int, 3>, 10>{{{1, 3, 5},
                                                                                            {90, 0, 0},
                                                                                            {104, 10, 2},
                                                                                            {143, 0, 0},
                                                                                            {222, 10, 0},
                                                                                            {235, 25, 0},
                                                                                            {153, 0, 0},
                                                                                            {405, 0, 0},
                                                                                            {162, 0, 0},
                                                                                            {802, 0, 0}}}) {
        InventoryItem item;
        item.ItemNumber = number;
        item.Enchantment1 = enchantment1;
        item.Enchantment1Modifier = modifier;
        item.ItemFlags = InventoryItemFlags::Identified;
        save.AddInventoryItem(n, item);
    }
    for (const int award : {1, 35, 42, 62, 73})
        save.SetAward(n, award);
    save.SetActiveSpellBless(n, {{0, 3, 0}, 10, 3});
    save.SetActiveSpellHaste(n, {{1, 2, 30}, 5, 4});
    CVelkarSheet sheet(save, n, QStringLiteral("save003.dod"));
    sheet.move(0, 0);
    sheet.show();
    // Picked once the sheet is on screen, as a user would.
    QTimer::singleShot(200, &sheet, [&] { sheet.TabBar()->setCurrentIndex(tab); });
    return QApplication::exec();
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icon.png")));
    TempDirectory folder;
    const auto path = folder / "save003.dod";
    SaveBuilder().WriteTo(path);
    if (argc > 1 && std::strcmp(argv[1], "party") == 0)
        return ShowParty(path);
    return ShowSheet(path, argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 0,
                     argc > 3 ? std::filesystem::path(argv[3]) : std::filesystem::path());
}
