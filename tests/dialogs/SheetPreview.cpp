// Shows the character sheet on a freshly built saved game, for looking at it (and
// taking screenshots) on a real display. Optional argument: the tab to show.
#include "dialogs/CVelkarSheet.h"

#include "SaveBuilder.h"
#include "SaveGame.h"
#include "TempDirectory.h"

#include <QApplication>
#include <QIcon>
#include <QTabBar>

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
    CVelkarSheet sheet(save, n, QStringLiteral("save003.dod"));
    sheet.move(0, 0);
    sheet.show();
    if (argc > 1)
        sheet.TabBar()->setCurrentIndex(QString::fromLocal8Bit(argv[1]).toInt());
    return QApplication::exec();
}
