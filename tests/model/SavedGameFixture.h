#pragma once

#include "model/MessageSink.h"
#include "model/SaveGame.h"
#include "tests/support/SaveBuilder.h"
#include "tests/support/TempDirectory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// A saved game on disk, opened, with the model's messages recorded and the file's bytes
// as they were before the test touched anything.
class SavedGameFixture : public ::testing::Test {
protected:
    SavedGameFixture();
    ~SavedGameFixture() override;

    // Writes the container and opens it; returns Open's result.
    bool Create(const SaveBuilder& builder = SaveBuilder());
    std::vector<std::uint8_t> FileBytes() const;
    // Saves, then lists the window offsets whose file bytes differ from the original.
    std::vector<int> SaveAndDiff();
    // Inclusive run of window offsets [first, last].
    static std::vector<int> Range(int first, int last);
    // Reads a little-endian value from the file at window offset w (sign-extended).
    std::int64_t FileValue(int w, int width) const;

    TempDirectory dir;
    std::filesystem::path path;
    SaveGame save;
    std::uint32_t partyOffset = 0;
    std::vector<std::uint8_t> original;
    std::vector<std::string> messages;

private:
    MessageSink::Handler previous_;
};
