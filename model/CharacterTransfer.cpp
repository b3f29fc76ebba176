#include "model/CharacterTransfer.h"

#include "model/CharacterLayout.h"
#include "model/GameTime.h"
#include "model/LittleEndian.h"
#include "model/Wrapping.h"

#include <span>

namespace {

namespace CL = CharacterLayout;

std::int64_t Load(std::span<const std::uint8_t> bytes, std::size_t at, int width)
{
    return LittleEndian::LoadSigned(bytes.subspan(at, static_cast<std::size_t>(width)).data(), width);
}

void Store(std::span<std::uint8_t> bytes, std::size_t at, int width, std::int64_t value)
{
    LittleEndian::Store(bytes.subspan(at, static_cast<std::size_t>(width)).data(), width, value);
}

} // namespace

std::vector<std::uint8_t> CharacterTransfer::Rebase(const SaveGame& source, int n, const SaveGame& target)
{
    const std::span<const std::uint8_t> own = source.GetCharacterBytes(n);
    std::vector<std::uint8_t> bytes(own.begin(), own.end());
    const std::int64_t from = source.GetTicks();
    const std::int64_t to = target.GetTicks();
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
