// Dialog benchmarks, offscreen: start-up to the first shown dialog, choosing a game folder
// whose game data is read the first time, opening a saved game to the shown party dialog,
// opening the character sheet, the Inventory tab's first activation and one step of a drag in
// its backpack; on a played character, each tab's first and later activation once the sheet
// has built its pages in idle time, and a plain tab switch. Budget (docs/performance.md): the first window within 300
// ms, the first load of a game's data under 150 ms, every other step within one 16 ms frame.

#include "app/SaveSelectDialog.h"
#include "tests/support/LodBuilder.h"
#include "tests/support/SaveBuilder.h"
#include "tests/support/TempDirectory.h"
#include "tests/support/WinePrefixWriter.h"

#include "dialogs/BackpackView.h"
#include "dialogs/CVelkarSheet.h"
#include "dialogs/PartyDialog.h"
#include "model/CharacterLayout.h"
#include "model/GameData.h"
#include "model/SaveGame.h"
#include "ui/ControlId.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QMouseEvent>
#include <QTabBar>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

// A game folder with 40 saved games, found through a Wine-style prefix as in the demo.
struct Game {
    Game()
    {
        std::filesystem::create_directories(dir / "Saves");
        for (int i = 0; i < 40; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "save%03d.dod", i);
            SaveBuilder("Saved game " + std::to_string(i)).WriteTo(dir / "Saves" / name);
        }
        WinePrefixWriter::Write(dir / "prefix", dir.Path());
        qputenv("WINEPREFIX", QFile::encodeName(QString::fromStdString((dir / "prefix").string())));
    }
    std::filesystem::path Save(int i) const
    {
        char name[32];
        std::snprintf(name, sizeof name, "save%03d.dod", i);
        return dir / "Saves" / name;
    }
    TempDirectory dir;
};

const Game& TheGame()
{
    static const Game game;
    return game;
}

// A modded game's data: a thousand item kinds, each with a picture, among the game's other
// icons; the full game folders are links to one, so that each is read the first time.
struct ModdedGame {
    static constexpr int Kinds = 1000;
    ModdedGame()
    {
        LodBuilder::WriteGame(dir / "real", LodBuilder::FullTable(Kinds + 1), 1200);
        std::filesystem::create_directories(dir / "real" / "Saves");
        for (int i = 0; i < 10; ++i)
            SaveBuilder("Saved game " + std::to_string(i)).WriteTo(dir / "real" / "Saves" / Save(i));
    }
    static std::string Save(int i)
    {
        char name[32];
        std::snprintf(name, sizeof name, "save%03d.dod", i);
        return name;
    }
    // A folder not read before.
    std::filesystem::path Fresh()
    {
        const auto link = dir / ("game" + std::to_string(links++));
        std::filesystem::create_directory_symlink(dir / "real", link);
        return link;
    }
    TempDirectory dir;
    int links = 0;
};

ModdedGame& TheModdedGame()
{
    static ModdedGame game;
    return game;
}

void Settle(QWidget& window)
{
    window.show();
    QApplication::processEvents();
}

void BM_StartupToTheFirstDialog(benchmark::State& state)
{
    TheGame(); // the registry names the 40-save folder: start-up lists them all
    for (auto _ : state) {
        SaveSelectDialog dialog;
        Settle(dialog);
    }
}
BENCHMARK(BM_StartupToTheFirstDialog)->Unit(benchmark::kMillisecond);

// Argument 1: with the item table of a modded game already chosen, as the start-up dialog hands
// it on for every saved game of that game.
void BM_OpenASaveToThePartyDialog(benchmark::State& state)
{
    const auto path = TheGame().Save(3);
    const GameWords words = state.range(0) == 0 ? GameWords::BuiltIn()
                                                : GameWords::FromGame(GameData::Load(TheModdedGame().dir / "real"),
                                                                      GameWords::WesternCodePage);
    for (auto _ : state) {
        PartyDialog party(path, words);
        benchmark::DoNotOptimize(party.Open());
        Settle(party);
    }
}
BENCHMARK(BM_OpenASaveToThePartyDialog)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_OpenTheCharacterSheet(benchmark::State& state)
{
    SaveGame save;
    save.Open(TheGame().Save(5));
    for (auto _ : state) {
        CVelkarSheet sheet(save, 1, QStringLiteral("save005.dod"));
        Settle(sheet);
    }
}
BENCHMARK(BM_OpenTheCharacterSheet)->Unit(benchmark::kMillisecond);

void BM_ChooseAGameFolderReadTheFirstTime(benchmark::State& state)
{
    TheGame();
    SaveSelectDialog dialog;
    Settle(dialog);
    auto* path = ControlId::Find<QComboBox>(dialog, SaveSelectDialog::IdPath);
    for (auto _ : state) {
        state.PauseTiming();
        const QString folder = QString::fromStdString(TheModdedGame().Fresh().string());
        state.ResumeTiming();
        path->setEditText(folder);
        dialog.FillSaveList();
        QApplication::processEvents();
        benchmark::DoNotOptimize(dialog.Words().Items().Count());
    }
}
BENCHMARK(BM_ChooseAGameFolderReadTheFirstTime)->Unit(benchmark::kMillisecond)->Iterations(30);

// A full backpack: 126 items of one cell.
struct FullBackpack {
    // gameData: the game folder whose data to use; empty for the built-in table.
    explicit FullBackpack(const std::filesystem::path& gameData)
    {
        auto& game = TheModdedGame();
        const auto path = game.dir / ("full" + std::to_string(game.links) + ".dod");
        SaveBuilder().WriteTo(path);
        save.Open(path, gameData.empty() ? GameWords::BuiltIn()
                                         : GameWords::FromGame(GameData::Load(gameData), GameWords::WesternCodePage));
        const ItemTable& table = save.GetItemTable();
        InventoryItem item;
        std::vector<int> small;
        for (int number = 1; number <= table.LastNumber(); ++number) {
            item.ItemNumber = number;
            const auto size = table.GetItemSize(number);
            if (size && size->Width == 1 && size->Height == 1)
                small.push_back(number);
        }
        // Every cell an item of its own, each another kind while they last: the most pictures.
        for (std::size_t i = 0; !small.empty(); ++i) {
            item.ItemNumber = small[i % small.size()];
            if (save.AddInventoryItem(1, item) < 0)
                break;
        }
    }
    SaveGame save;
};

// Argument 0: the built-in table; 1: the game's, its pictures decoded before; 2: the game's,
// a folder not seen before, so every picture is decoded during the activation.
void BM_FirstActivationOfTheInventoryTab(benchmark::State& state)
{
    const auto folder = [&state] {
        return state.range(0) == 0   ? std::filesystem::path()
               : state.range(0) == 1 ? TheModdedGame().dir / "real"
                                     : TheModdedGame().Fresh();
    };
    int kinds = 0;
    int items = 0;
    for (auto _ : state) {
        state.PauseTiming();
        FullBackpack backpack(folder());
        CVelkarSheet sheet(backpack.save, 1, QStringLiteral("full.dod"));
        Settle(sheet);
        kinds = backpack.save.GetItemTable().Count();
        state.ResumeTiming();
        sheet.TabBar()->setCurrentIndex(5);
        QApplication::processEvents();
        state.PauseTiming();
        items = static_cast<int>(sheet.findChild<BackpackView*>()->Pieces().size());
        state.ResumeTiming();
    }
    state.counters["kinds"] = kinds;
    state.counters["items"] = items;
}
BENCHMARK(BM_FirstActivationOfTheInventoryTab)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(40);

// A character played for a while: every skill learnt, every spell known, every award, half the
// conditions and every spell in effect, and a full backpack of the game's own items.
struct PlayedSave : FullBackpack {
    PlayedSave() : FullBackpack(TheModdedGame().dir / "real")
    {
        for (int slot = 0; slot < CharacterLayout::SkillSlotCount; ++slot) {
            if (slot != 36)
                save.SetSkill(1, slot, 10 | (0x40 << (slot % 3)));
        }
        for (int group = 0; group < CharacterLayout::SpellGroupCount; ++group)
            save.SetSpellGroup(1, group, std::vector<std::uint8_t>(SaveGame::SpellGroupSize(group), 1));
        for (int a = 0; a < save.GetAwardTable().Count(); ++a)
            save.SetAward(1, a);
        for (int k = 0; k < CharacterLayout::ConditionCount; k += 2)
            save.SetCondition(1, k, 1, {.days = 3, .hours = 4, .minutes = 5});
        for (int k = 0; k < CharacterLayout::ActiveSpellCount; ++k)
            save.SetActiveSpell(1, k, {.duration = {.days = 1, .hours = 2, .minutes = 3}, .power = 5, .skill = 2});
    }
};

// Every event there is, and those they post in turn (a list's delayed layout, a repaint).
void Drain()
{
    QApplication::processEvents(QEventLoop::AllEvents, 1000);
}

// The sheet on the played character, shown, with every page built in idle time and the
// events that building posted handled, as they are long before a click.
struct BuiltSheet {
    explicit BuiltSheet(SaveGame& save) : sheet(save, 1, QStringLiteral("played.dod"))
    {
        Settle(sheet);
        while (!sheet.Page(SheetTabCount - 1).IsCreated())
            QApplication::processEvents();
        Drain();
    }
    // From the click to the end of the event processing that follows.
    void Switch(int tab)
    {
        sheet.TabBar()->setCurrentIndex(tab);
        Drain();
    }
    CVelkarSheet sheet;
};

// Open to the first paint: construction, show and the events up to the paint; no idle build.
void BM_OpenThePlayedSheetToItsFirstPaint(benchmark::State& state)
{
    PlayedSave played;
    int built = 0;
    for (auto _ : state) {
        CVelkarSheet sheet(played.save, 1, QStringLiteral("played.dod"));
        Settle(sheet);
        state.PauseTiming();
        built = 0;
        for (int i = 0; i < SheetTabCount; ++i)
            built += sheet.Page(i).IsCreated() ? 1 : 0;
        state.ResumeTiming();
    }
    state.counters["built"] = built;
}
BENCHMARK(BM_OpenThePlayedSheetToItsFirstPaint)->Unit(benchmark::kMillisecond);

// Arguments: the tab (SheetTab); 0 its first activation, 1 a later one (after Stats between).
void BM_ActivateATabAfterTheIdleBuild(benchmark::State& state)
{
    PlayedSave played;
    const int tab = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        {
            BuiltSheet built(played.save);
            if (state.range(1) == 1) {
                built.Switch(tab);
                built.Switch(TabIndex(SheetTab::Stats));
            }
            state.ResumeTiming();
            built.Switch(tab);
            state.PauseTiming();
        }
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ActivateATabAfterTheIdleBuild)
    ->ArgsProduct({benchmark::CreateDenseRange(1, SheetTabCount - 1, 1), {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);

// Back and forth between Skills and Inventory, both shown before.
void BM_SwitchBetweenShownTabs(benchmark::State& state)
{
    PlayedSave played;
    BuiltSheet built(played.save);
    built.Switch(TabIndex(SheetTab::Skills));
    built.Switch(TabIndex(SheetTab::Inventory));
    int tab = TabIndex(SheetTab::Inventory);
    for (auto _ : state) {
        tab = tab == TabIndex(SheetTab::Inventory) ? TabIndex(SheetTab::Skills) : TabIndex(SheetTab::Inventory);
        built.Switch(tab);
    }
}
BENCHMARK(BM_SwitchBetweenShownTabs)->Unit(benchmark::kMillisecond);

void BM_OneStepOfADragRepainted(benchmark::State& state)
{
    FullBackpack backpack(TheModdedGame().dir / "real");
    backpack.save.RemoveInventoryItem(1, 125); // room to drag to
    CVelkarSheet sheet(backpack.save, 1, QStringLiteral("full.dod"));
    Settle(sheet);
    sheet.TabBar()->setCurrentIndex(5);
    QApplication::processEvents();
    auto* view = sheet.findChild<BackpackView*>();
    const auto send = [view](QEvent::Type type, int cell) {
        const QPointF at = view->CellRect(cell).center();
        QMouseEvent event(type, at, view->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view, &event);
    };
    send(QEvent::MouseButtonPress, 0);
    int cell = 0;
    for (auto _ : state) {
        cell = cell == 125 ? 124 : 125;
        send(QEvent::MouseMove, cell);
        view->repaint();
    }
    send(QEvent::MouseButtonRelease, cell);
}
BENCHMARK(BM_OneStepOfADragRepainted)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
