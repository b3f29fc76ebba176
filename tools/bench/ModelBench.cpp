// Model benchmarks: opening a saved game, listing saved games, saving the window.
// Targets (docs/performance.md): Open within 1.5x of a plain read of the same bytes,
// 40 names in under 10 ms, every user action within one 16 ms frame.

#include "model/Container.h"
#include "model/File.h"
#include "model/SaveGame.h"
#include "tests/support/SaveBuilder.h"
#include "tests/support/TempDirectory.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

namespace {

// A 16 MiB container whose party.bin entry is the last of a directory of 2002 entries.
const std::filesystem::path& LargeContainer()
{
    static TempDirectory dir;
    static const std::filesystem::path path = [] {
        SaveBuilder builder("Benchmark");
        for (int i = 0; i < 2000; ++i)
            builder.AddMemberBefore(std::to_string(i).append(".bin"), 8192);
        builder.RemoveMembersAfter();
        const auto p = dir / "save000.dod";
        builder.WriteTo(p);
        return p;
    }();
    return path;
}

void BM_OpenLargeContainer(benchmark::State& state)
{
    const auto& path = LargeContainer();
    for (auto _ : state) {
        SaveGame save;
        benchmark::DoNotOptimize(save.Open(path));
    }
}
BENCHMARK(BM_OpenLargeContainer)->Unit(benchmark::kMicrosecond);

// The floor Open is measured against: open the file, read up to the offset unit, read the window.
void BM_PlainReadOfTheSameBytes(benchmark::State& state)
{
    const auto& path = LargeContainer();
    std::uint32_t offset = 0;
    std::uint64_t directoryBytes = 0;
    {
        File file;
        file.Open(path, File::Share::ReadWrite);
        offset = FindMember(file, "party.bin").value();
        directoryBytes = 288 + 2002 * 32; // header.bin, 2000 members, party.bin
    }
    std::vector<std::uint8_t> prefix(directoryBytes);
    std::vector<std::uint8_t> window(400000);
    for (auto _ : state) {
        File file;
        file.Open(path, File::Share::ReadWrite);
        benchmark::DoNotOptimize(file.ReadAt(0, prefix.data(), prefix.size()));
        benchmark::DoNotOptimize(file.ReadAt(offset, window.data(), window.size()));
    }
}
BENCHMARK(BM_PlainReadOfTheSameBytes)->Unit(benchmark::kMicrosecond);

void BM_ReadFortySaveNames(benchmark::State& state)
{
    TempDirectory dir;
    std::vector<std::filesystem::path> paths;
    for (int i = 0; i < 40; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "save%03d.dod", i);
        paths.push_back(dir / name);
        SaveBuilder("Saved game " + std::to_string(i)).WriteTo(paths.back());
    }
    for (auto _ : state)
        for (const auto& p : paths)
            benchmark::DoNotOptimize(ReadSaveName(p));
}
BENCHMARK(BM_ReadFortySaveNames)->Unit(benchmark::kMicrosecond);

// A saved game of the usual size, opened from a fresh folder.
struct OpenedSave {
    OpenedSave()
    {
        SaveBuilder().WriteTo(dir / "save000.dod");
        save.Open(dir / "save000.dod");
    }
    TempDirectory dir;
    SaveGame save;
};

void BM_SaveWindow(benchmark::State& state)
{
    OpenedSave opened;
    SaveGame& save = opened.save;
    for (auto _ : state) {
        save.SetGold(save.GetGold() + 1);
        save.Save();
    }
}
BENCHMARK(BM_SaveWindow)->Unit(benchmark::kMicrosecond);

// Save's flush waits for the disk, which no budget of ours governs: measured on its own,
// as a write of the window with and without the flush that follows it.
void WriteTheWindow(benchmark::State& state, bool flush)
{
    OpenedSave opened;
    File file;
    file.Open(opened.dir / "save000.dod", File::Share::ReadWrite);
    std::vector<unsigned char> window(400000, 0);
    for (auto _ : state) {
        ++window[0];
        file.WriteAt(opened.save.GetDataOffset(), window.data(), window.size());
        if (flush)
            file.Flush();
    }
}

void BM_WriteTheWindow(benchmark::State& state)
{
    WriteTheWindow(state, false);
}
BENCHMARK(BM_WriteTheWindow)->Unit(benchmark::kMicrosecond);

void BM_WriteAndFlushTheWindow(benchmark::State& state)
{
    WriteTheWindow(state, true);
}
BENCHMARK(BM_WriteAndFlushTheWindow)->Unit(benchmark::kMicrosecond);

void BM_FillAndEmptyAnInventory(benchmark::State& state)
{
    OpenedSave opened;
    SaveGame& save = opened.save;
    InventoryItem helm;
    helm.ItemNumber = 109;
    for (auto _ : state) {
        for (int i = 0; i < 126; ++i)
            save.AddInventoryItem(1, helm);
        for (int cell = 0; cell < 126; ++cell)
            save.RemoveInventoryItem(1, cell);
    }
}
BENCHMARK(BM_FillAndEmptyAnInventory)->Unit(benchmark::kMicrosecond);

} // namespace
