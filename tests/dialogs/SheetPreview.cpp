// Shows the character sheet on a freshly built saved game, for looking at it (and
// taking screenshots) on a real display. Optional argument: the tab to show.
#include "dialogs/CVelkarSheet.h"

#include "SaveBuilder.h"
#include "SaveGame.h"
#include "TempDirectory.h"

#include <QApplication>
#include <QIcon>
#include <QTabBar>
#include <QTimer>

#include <array>
#include <cstdint>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icon.png")));
    TempDirectory folder;
    const auto path = folder / "save003.dod";
    SaveBuilder().WriteTo(path);
    SaveGame save;
    if (!save.Open(path))
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
    CVelkarSheet sheet(save, n, QStringLiteral("save003.dod"));
    sheet.move(0, 0);
    sheet.show();
    // Picked once the sheet is on screen, as a user would.
    const int tab = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 0;
    QTimer::singleShot(200, &sheet, [&] { sheet.TabBar()->setCurrentIndex(tab); });
    return QApplication::exec();
}
