// Reading the installed game's data: the first load of a full game's item, class and award
// tables and icon sizes (target: under 150 ms, and within 1.5 times the load of its item table
// alone), a second load from the cache (under 0.1 ms), and one picture decoded.

#include "model/GameData.h"
#include "tests/support/LodBuilder.h"
#include "tests/support/TempDirectory.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <vector>

namespace {

// The English game's shape: 803 rows (751..799 placeholders), icons.lod with a picture for
// each item among the game's other icons, EnglishT.lod with its other tables. Without words,
// EnglishT.lod has no class.txt nor awards.txt: the item table is all there is to read.
std::filesystem::path WriteFullGame(const std::filesystem::path& dir, bool words)
{
    auto rows = LodBuilder::FullTable(803);
    for (int n = 751; n < 800; ++n)
        rows[static_cast<std::size_t>(n)].Picture = "null";
    LodBuilder::WriteGame(dir, rows, 1200);
    if (!words) {
        LodBuilder("MMVIII", "language")
            .AddFile("2DEvents.txt", std::string(20000, 'e'))
            .AddFile("items.txt", LodBuilder::ItemsText(rows))
            .WriteTo(dir / "Data" / "EnglishT.lod");
    }
    return dir;
}

const std::filesystem::path& FullGame(bool words = true)
{
    static TempDirectory with, without;
    static const std::filesystem::path withWords = WriteFullGame(with.Path(), true);
    static const std::filesystem::path itemsOnly = WriteFullGame(without.Path(), false);
    return words ? withWords : itemsOnly;
}

// Argument 1: items, classes and awards; 0: the item table alone, the yardstick.
void BM_FirstLoadOfAFullGame(benchmark::State& state)
{
    const auto& game = FullGame(state.range(0) != 0);
    for (auto _ : state) {
        GameData data(game);
        benchmark::DoNotOptimize(data.GetItemSize(802));
    }
}
BENCHMARK(BM_FirstLoadOfAFullGame)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

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
