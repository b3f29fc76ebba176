// Feeds arbitrary bytes to the container lookup, the save-name reader and, when the bytes
// make an openable container, every family of model operations. Anything the sanitizers
// report is a bug: no file content may lead to undefined behaviour.

#include "Container.h"
#include "File.h"
#include "MessageSink.h"
#include "SaveGame.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

std::filesystem::path ScratchFile()
{
    static const auto path =
        std::filesystem::temp_directory_path() / ("velkar-fuzz-" + std::to_string(::getpid()) + ".dod");
    return path;
}

// The window is mostly a fixed shape: inputs shorter than a window are laid over a
// container that opens, so the fuzzer reaches the field operations quickly.
void Exercise(SaveGame& save, const std::uint8_t* data, std::size_t size)
{
    auto pick = [&](std::size_t i) { return size == 0 ? 0 : static_cast<int>(data[i % size]); };
    save.GetTime();
    save.SetTime(save.GetTime());
    for (int k = 0; k < 20; ++k)
        save.SetPartySpell(k, save.GetPartySpell(k));
    for (int n : {1, 2, 50}) {
        GameDuration d;
        for (int k = 0; k < 18; ++k)
            save.SetCondition(n, k, save.GetCondition(n, k, d), d);
        for (int k = 0; k < 27; ++k)
            save.SetActiveSpell(n, k, save.GetActiveSpell(n, k));
        save.SetLevel(n, save.GetLevel(n));
        save.SetAge(n, save.GetAge(n));
        save.SetName(n, save.GetName(n));
        InventoryItem item;
        for (int cell = 0; save.GetInventoryCell(n, cell, item) != -1; ++cell)
            if (pick(static_cast<std::size_t>(cell)) % 3 == 0)
                save.RemoveInventoryItem(n, cell);
        item = {};
        item.ItemNumber = pick(7) * 3 - 10;
        save.AddInventoryItem(n, item);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const auto quiet = MessageSink::Install([](std::string_view) {});
    (void)quiet;
    const auto path = ScratchFile();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    {
        File file;
        file.Open(path, File::Share::ReadWrite);
        FindMember(file, "party.bin");
        ReadSaveName(file);
    }
    SaveGame save;
    if (save.Open(path)) {
        Exercise(save, data, size);
        save.Save();
    }
    return 0;
}
