// Reading the installed game's data: the first load of a full game's item table and icon
// sizes (target: under 150 ms), a second load from the cache, and one picture decoded.

#include "model/GameData.h"
#include "tests/support/LodBuilder.h"
#include "tests/support/TempDirectory.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <vector>

namespace {

// The English game's shape: 803 rows (751..799 placeholders), icons.lod with a picture for
// each item among the game's other icons, EnglishT.lod with its other tables.
const std::filesystem::path& FullGame()
{
    static TempDirectory dir;
    static const bool written = [] {
        auto rows = LodBuilder::FullTable(803);
        for (int n = 751; n < 800; ++n)
            rows[static_cast<std::size_t>(n)].Picture = "null";
        LodBuilder::WriteGame(dir.Path(), rows, 1200);
        return true;
    }();
    (void)written;
    return dir.Path();
}

void BM_FirstLoadOfAFullGame(benchmark::State& state)
{
    const auto& game = FullGame();
    for (auto _ : state) {
        GameData data(game);
        benchmark::DoNotOptimize(data.GetItemSize(802));
    }
}
BENCHMARK(BM_FirstLoadOfAFullGame)->Unit(benchmark::kMillisecond);

// The floor: both archives read whole.
void BM_PlainReadOfTheArchives(benchmark::State& state)
{
    const auto& game = FullGame();
    std::vector<char> buffer;
    for (auto _ : state) {
        for (const char* name : {"EnglishT.lod", "icons.lod"}) {
            const auto path = game / "Data" / name;
            buffer.resize(std::filesystem::file_size(path));
            std::ifstream(path, std::ios::binary).read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
            benchmark::DoNotOptimize(buffer.data());
        }
    }
}
BENCHMARK(BM_PlainReadOfTheArchives)->Unit(benchmark::kMillisecond);

void BM_CachedLoadOfAFullGame(benchmark::State& state)
{
    const auto& game = FullGame();
    GameData::Load(game);
    for (auto _ : state)
        benchmark::DoNotOptimize(GameData::Load(game));
}
BENCHMARK(BM_CachedLoadOfAFullGame)->Unit(benchmark::kMicrosecond);

void BM_DecodeAnItemPicture(benchmark::State& state)
{
    const auto data = GameData::Load(FullGame());
    for (auto _ : state)
        benchmark::DoNotOptimize(data->GetItemIcon(700));
}
BENCHMARK(BM_DecodeAnItemPicture)->Unit(benchmark::kMicrosecond);

} // namespace
