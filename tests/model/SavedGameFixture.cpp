#include "tests/model/SavedGameFixture.h"

#include "tests/support/Files.h"
#include "tests/support/LittleEndian.h"

#include <fstream>

SavedGameFixture::SavedGameFixture() : path(dir / "save000.dod")
{
    previous_ = MessageSink::Install([this](std::string_view text) { messages.emplace_back(text); });
}

SavedGameFixture::~SavedGameFixture()
{
    MessageSink::Install(previous_);
}

bool SavedGameFixture::Create(const SaveBuilder& builder)
{
    builder.WriteTo(path);
    partyOffset = builder.PartyOffset();
    original = FileBytes();
    return save.Open(path);
}

std::vector<std::uint8_t> SavedGameFixture::FileBytes() const
{
    return ReadBytes(path);
}

std::vector<int> SavedGameFixture::SaveAndDiff()
{
    save.Save();
    const auto now = FileBytes();
    std::vector<int> changed;
    EXPECT_EQ(now.size(), original.size()) << "the file changed size";
    for (std::size_t i = 0; i < std::min(now.size(), original.size()); ++i)
        if (now[i] != original[i])
            changed.push_back(static_cast<int>(i) - static_cast<int>(partyOffset));
    return changed;
}

std::vector<int> SavedGameFixture::Range(int first, int last)
{
    std::vector<int> r;
    for (int w = first; w <= last; ++w)
        r.push_back(w);
    return r;
}

std::int64_t SavedGameFixture::FileValue(int w, int width) const
{
    std::ifstream in(path, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(partyOffset) + w);
    std::uint8_t bytes[8] = {};
    in.read(reinterpret_cast<char*>(bytes), width);
    EXPECT_EQ(in.gcount(), width) << "window offset " << w << " lies past the end of the file";
    return LoadLE(bytes, 0, width); // a short read leaves zeros
}
