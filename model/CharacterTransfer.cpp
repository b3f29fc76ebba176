#include "model/CharacterTransfer.h"

#include "model/CharacterLayout.h"
#include "model/GameTime.h"
#include "model/WindowLayout.h"
#include "model/Wrapping.h"

#include <span>

namespace {

namespace CL = CharacterLayout;
namespace WL = WindowLayout;

std::int64_t Load(std::span<const std::uint8_t> bytes, std::size_t at, int width)
{
    std::uint64_t value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = value << 8 | bytes[at + static_cast<std::size_t>(i)];
    const int unused = 64 - 8 * width;
    return static_cast<std::int64_t>(value << unused) >> unused;
}

void Store(std::span<std::uint8_t> bytes, std::size_t at, int width, std::int64_t value)
{
    auto bits = static_cast<std::uint64_t>(value);
    for (int i = 0; i < width; ++i, bits >>= 8)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(bits);
}

std::int64_t Clock(const SaveGame& game)
{
    return Load(game.GetWindow(), static_cast<std::size_t>(WL::PartyRecordOffset + WL::Time.Offset), WL::Time.Width);
}

} // namespace

std::vector<std::uint8_t> CharacterTransfer::Rebase(const SaveGame& source, int n, const SaveGame& target)
{
    const std::span<const std::uint8_t> own = source.GetCharacterBytes(n);
    std::vector<std::uint8_t> bytes(own.begin(), own.end());
    const std::int64_t from = Clock(source);
    const std::int64_t to = Clock(target);
    const auto at = [](int recordOffset) { return static_cast<std::size_t>(recordOffset - CL::OwnBytesStart); };
    const auto shiftTicks = [&](int recordOffset) {
        const std::int64_t ticks = Load(bytes, at(recordOffset), 8);
        if (ticks == 0)
            return;
        const std::int64_t moved = WrapAdd64(ticks, WrapSub64(to, from));
        // Landing on 0 would read as none: one tick later keeps it.
        Store(bytes, at(recordOffset), 8, moved == 0 ? 1 : moved);
    };
    for (int k = 0; k < CL::ConditionCount; ++k)
        shiftTicks(CL::ConditionsOffset + k * CL::ConditionWidth);
    for (int k = 0; k < CL::ActiveSpellCount; ++k)
        shiftTicks(CL::ActiveSpellsOffset + k * SpellEffectLayout::Size + SpellEffectLayout::Expiry.Offset);
    const std::int32_t years = WrapSub32(TicksToGameTime(to).year, TicksToGameTime(from).year);
    const auto birth = static_cast<std::int32_t>(Load(bytes, at(CL::BirthYear.Offset), CL::BirthYear.Width));
    Store(bytes, at(CL::BirthYear.Offset), CL::BirthYear.Width, WrapAdd32(birth, years));
    return bytes;
}
