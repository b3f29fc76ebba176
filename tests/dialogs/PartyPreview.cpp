// Shows the party dialog on a freshly built saved game, for looking at it (and taking
// screenshots) on a real display.
#include "dialogs/PartyDialog.h"

#include "SaveBuilder.h"
#include "TempDirectory.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icon.png")));
    TempDirectory folder;
    const auto path = folder / "save003.dod";
    SaveBuilder().WriteTo(path);
    PartyDialog dialog(path);
    if (!dialog.Open())
        return 1;
    dialog.move(0, 0);
    dialog.show();
    return QApplication::exec();
}
