// velkar-cli timed as whole processes, start to exit, as a script runs it: show --json of the
// party and all fifty characters, set of one field (the check, the write and the flush), and
// diff of two saved games (both opened, every field of both walked, the containers read).
// The saved game looks played and lies in a game folder of 40 saved games inside a Wine
// prefix, so the code page is decided as for a real game: every saved game's names are looked
// into for the fan translation's wrapping, then the prefix's code page is read. Target
// (docs/performance.md): show and set each under 50 ms, diff under 60 ms.

#include "tests/support/SaveBuilder.h"
#include "tests/support/TempDirectory.h"
#include "tests/support/WinePrefixWriter.h"

#include <QCoreApplication>
#include <QProcess>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

namespace {

struct Game {
    Game()
    {
        WinePrefixWriter prefix(home / ".wine");
        const std::filesystem::path game = prefix.MakeFolder("Games/MM8");
        prefix.Set(WinePrefixWriter::kGameKey32, "AppPath", u"C:\\Games\\MM8").Fresh().Save();
        std::filesystem::create_directories(game / "Saves");
        for (int i = 0; i < 40; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "save%03d.dod", i);
            SaveBuilder("Saved game " + std::to_string(i))
                .SetPlayed(static_cast<std::uint32_t>(i) + 1)
                .WriteTo(game / "Saves" / name);
        }
        save = QString::fromStdString((game / "Saves" / "save007.dod").string());
        other = QString::fromStdString((game / "Saves" / "save008.dod").string());
        environment.insert(QStringLiteral("HOME"), QString::fromStdString(home.Path().string()));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString((home / "config").string()));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), QString::fromStdString((home / "data").string()));
        environment.remove(QStringLiteral("WINEPREFIX"));
    }
    TempDirectory home;
    QString save;
    QString other; // another played game: most fields and bytes differ
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
};

const Game& TheGame()
{
    static const Game game;
    return game;
}

void RunCli(benchmark::State& state, const QStringList& arguments)
{
    QProcess process;
    process.setProcessEnvironment(TheGame().environment);
    process.start(QStringLiteral(VELKAR_CLI_PATH), arguments);
    // Read as it comes, as a pipe into a script would.
    QByteArray out;
    while (process.state() != QProcess::NotRunning && process.waitForReadyRead(10000))
        out += process.readAllStandardOutput();
    process.waitForFinished();
    out += process.readAllStandardOutput();
    if (process.exitCode() != 0)
        state.SkipWithError(process.readAllStandardError().constData());
    benchmark::DoNotOptimize(out);
}

void BM_CliShowJsonOfTheWholeSave(benchmark::State& state)
{
    const QStringList arguments = {QStringLiteral("show"), TheGame().save, QStringLiteral("--json")};
    for (auto _ : state)
        RunCli(state, arguments);
}
BENCHMARK(BM_CliShowJsonOfTheWholeSave)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CliSetOneField(benchmark::State& state)
{
    int might = 0;
    for (auto _ : state) {
        // A value other than the last, so that every run writes.
        RunCli(state,
               {QStringLiteral("set"), TheGame().save, QStringLiteral("character[3].Might=%1").arg(100 + might++ % 2)});
    }
}
BENCHMARK(BM_CliSetOneField)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CliDiffOfTwoSaves(benchmark::State& state)
{
    const QStringList arguments = {QStringLiteral("diff"), TheGame().save, TheGame().other};
    for (auto _ : state)
        RunCli(state, arguments);
}
BENCHMARK(BM_CliDiffOfTwoSaves)->Unit(benchmark::kMillisecond)->UseRealTime();

// The reference: the program started and ended without a saved game (Qt Core loaded, the
// help printed).
void BM_CliStartAndExit(benchmark::State& state)
{
    for (auto _ : state)
        RunCli(state, {QStringLiteral("--help")});
}
BENCHMARK(BM_CliStartAndExit)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
