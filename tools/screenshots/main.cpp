// Takes a picture of every window and every tab of the sheet, on a game folder written by the
// demo maker, for the README and for looking at the layout at another scale.
//
//   velkar-screenshots GAME OUT   writes OUT/startup.png, about.png, backups.png,
//                                 backups-compare.png, party.png and sheet-<tab>.png for every
//                                 tab of the sheet

#include "app/AboutDialog.h"
#include "app/BackupDialog.h"
#include "app/SaveSelectDialog.h"
#include "dialogs/CVelkarSheet.h"
#include "dialogs/PartyDialog.h"
#include "game/Backups.h"
#include "model/MessageSink.h"
#include "model/SaveGame.h"
#include "ui/ControlId.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QIcon>
#include <QLayout>
#include <QLineEdit>
#include <QPixmap>
#include <QTabBar>
#include <QTreeWidget>

#include <array>
#include <cstdio>
#include <filesystem>

namespace {

// The window once shown and laid out, as the user first sees it.
bool Take(QWidget& window, const QDir& out, const QString& name)
{
    window.show();
    QApplication::processEvents();
    if (window.layout() != nullptr)
        window.layout()->activate();
    QApplication::processEvents();
    const QString path = out.filePath(name + QStringLiteral(".png"));
    if (window.grab().save(path, "PNG"))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

constexpr std::array<const char*, SheetTabCount> kTabFiles = {
    "stats", "condition", "skills", "spells", "active-spells", "inventory", "awards",
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icon.png")));
    MessageSink::Install([](std::string_view text) { std::fprintf(stderr, "%.*s\n", int(text.size()), text.data()); });
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s GAME-FOLDER OUT-FOLDER\n", argv[0]);
        return 2;
    }
    const QString game = QString::fromLocal8Bit(argv[1]);
    QDir out(QString::fromLocal8Bit(argv[2]));
    if (!out.mkpath(QStringLiteral(".")))
        return 1;
    bool ok = true;

    SaveSelectDialog startup;
    auto* path = ControlId::Find<QComboBox>(startup, SaveSelectDialog::IdPath);
    if (path != nullptr)
        path->setEditText(game);
    ok &= Take(startup, out, QStringLiteral("startup"));
    AboutDialog about(&startup);
    ok &= Take(about, out, QStringLiteral("about"));
    about.hide();

    // Two copies, as after two sessions of editing (the data folder is the demo's own).
    const std::filesystem::path save = std::filesystem::path(argv[1]) / "Saves" / "save000.dod";
    Backups::Make(save);
    Backups::Make(save);
    BackupDialog backups(save, TextCodec::ForKey(startup.Words().CodePage()), startup.Words(), &startup);
    ok &= Take(backups, out, QStringLiteral("backups"));
    backups.hide();
    {
        // The newest copy as a session before this one left it: other gold, a name, a skill.
        SaveGame copy;
        if (!copy.Open(Backups::NewestFirst(save).front().path, startup.Words()))
            return 1;
        copy.SetGold(copy.GetGold() + 1500);
        copy.SetName(1, "Ariadne");
        copy.SetSkill(1, 0, copy.GetSkill(1, 0) + 2);
        copy.Save();
    }
    BackupDialog compare(save, TextCodec::ForKey(startup.Words().CodePage()), startup.Words(), &startup);
    compare.Compare();
    ok &= Take(compare, out, QStringLiteral("backups-compare"));
    compare.hide();

    // With the game's own words, as the start-up dialog opens a saved game.
    PartyDialog party(save, startup.Words());
    if (!party.Open())
        return 1;
    // The first party member, selected in the list, as before "Edit Character".
    const int first = party.Game().GetPartyMember1() + 1;
    if (auto* list = party.Control<QTreeWidget>(PartyDialog::IdCharacters); list != nullptr && first >= 1)
        list->setCurrentItem(list->topLevelItem(first - 1));
    ok &= Take(party, out, QStringLiteral("party"));

    CVelkarSheet sheet(party.Game(), first >= 1 ? first : 1, QStringLiteral("save000.dod"), &party);
    for (int tab = 0; tab < SheetTabCount; ++tab) {
        sheet.show();
        sheet.TabBar()->setCurrentIndex(tab);
        ok &= Take(sheet, out, QStringLiteral("sheet-%1").arg(QString::fromLatin1(kTabFiles[tab])));
    }
    sheet.reject(); // nothing is written: the sheet puts the character back
    return ok ? 0 : 1;
}
