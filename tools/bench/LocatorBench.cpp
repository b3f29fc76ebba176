// Finding the game among 20 Wine prefixes laid out as the game managers lay them out, each
// with a system.reg the size a fresh prefix writes (about 1.7 MB). Target
// (docs/performance.md): all 20 looked up in under 50 ms.

#include "game/GameFolderLocator.h"
#include "tests/support/TempDirectory.h"
#include "tests/support/WinePrefixWriter.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kPrefixes = 20;

struct Home {
    Home()
    {
        const std::string layouts[] = {".local/share/Steam/steamapps/compatdata/", "Games/",
                                       "Games/Heroic/Prefixes/default/", ".local/share/bottles/bottles/",
                                       ".PlayOnLinux/wineprefix/"};
        // The game's keys in turn: each prefix holds one, among the keys of a fresh prefix.
        const std::pair<std::string_view, const char*> entries[] = {{WinePrefixWriter::kGameKey32, "AppPath"},
                                                                    {"Software\\GOG.com\\GOGMM8", "PATH"},
                                                                    {WinePrefixWriter::kGameKey, "AppPath"}};
        for (std::size_t i = 0; i < kPrefixes; ++i) {
            const auto prefix =
                i == 0 ? dir / ".wine" : dir / (layouts[i % 5] + std::to_string(1000 + i) + (i % 5 == 0 ? "/pfx" : ""));
            WinePrefixWriter writer(prefix);
            writer.Set(entries[i % 3].first, entries[i % 3].second, u"C:\\Games\\Might and Magic VIII").Fresh().Save();
            writer.MakeFolder("Games/Might and Magic VIII");
            files.push_back(prefix / "system.reg");
        }
    }
    TempDirectory dir;
    std::vector<std::filesystem::path> files;
};

const Home& TheHome()
{
    static const Home home;
    return home;
}

void BM_FindAllInTwentyFreshPrefixes(benchmark::State& state)
{
    const Home& home = TheHome();
    for (auto _ : state) {
        const auto games = GameFolderLocator::FindAll(home.dir.Path(), {});
        if (games.size() != kPrefixes)
            state.SkipWithError("not every prefix's game was found");
        benchmark::DoNotOptimize(games.data());
    }
}
BENCHMARK(BM_FindAllInTwentyFreshPrefixes)->Unit(benchmark::kMillisecond);

// The floor: reading the same 20 files into memory.
void BM_PlainReadOfTheTwentyFiles(benchmark::State& state)
{
    const Home& home = TheHome();
    for (auto _ : state) {
        for (const auto& file : home.files) {
            std::ifstream in(file, std::ios::binary);
            std::string text(std::filesystem::file_size(file), '\0');
            in.read(text.data(), static_cast<std::streamsize>(text.size()));
            benchmark::DoNotOptimize(text.data());
        }
    }
}
BENCHMARK(BM_PlainReadOfTheTwentyFiles)->Unit(benchmark::kMillisecond);

} // namespace
