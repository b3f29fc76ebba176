#pragma once

#include <array>
#include <string_view>

// Fixed word lists the dialogs load into combo boxes. Dialogs bind them by row
// number, and several rows are stored in the save as they are, so order matters.
namespace Vocabulary {

// Row = the character's class byte.
// clang-format off
inline constexpr std::array<std::string_view, 16> ClassNames = {
    "Necromancer", "Lich", "Cleric", "Priest of the Sun", "Knight", "Champion", "Troll",
    "War Troll", "Minotaur", "Minotaur Lord", "Dark Elf", "Dark Elf Patriarch", "Vampire",
    "Nosferatu", "Dragon", "Great Wyrm",
};
// clang-format on

// clang-format off
inline constexpr std::array<std::string_view, 4> MasteryNames = {
    "Novice", "Expert", "Master", "Grand",
};
// clang-format on

// Put in front of MasteryNames by dialogs that also offer no mastery.
inline constexpr std::string_view MasteryNone = "None";

// Row = an item's Enchantment1.
// clang-format off
inline constexpr std::array<std::string_view, 26> StandardEnchantments = {
    "None", "of Might", "of Thought", "of Charm", "of Vigor", "of Precision", "of Speed",
    "of Luck", "of Health", "of Magic", "of Defense", "of Fire Resistance", "of Air Resistance",
    "of Water Resistance", "of Earth Resistance", "of Mind Resistance", "of Body Resistance",
    "of Alchemy", "of Stealing", "of Disarming", "of Items", "of Monsters", "of Arms",
    "of Dodging", "of the Fist", "of Protection",
};
// clang-format on

// Row = an item's Enchantment2.
// clang-format off
inline constexpr std::array<std::string_view, 73> SpecialEnchantments = {
    "None", "of Protection", "of the Gods", "of Carnage", "of Cold", "of Frost", "of Ice",
    "of Sparks", "of Lightning", "of Thunderbolts", "of Fire", "of Flame", "of Infernos",
    "of Poison", "of Venom", "of Acid", "Vampiric", "of Recovery", "of Immunity", "of Sanity",
    "of Freedom", "of Antidotes", "of Alarms", "of The Medusa", "of Force", "of Power",
    "of Air Magic", "of Body Magic", "of Dark Magic", "of Earth Magic", "of Fire Magic",
    "of Light Magic", "of Mind Magic", "of Spirit Magic", "of Water Magic", "of Thievery",
    "of Shielding", "of Regeneration", "of Mana", "Demon Slaying", "Dragon Slaying", "of Darkness",
    "of Doom", "of Earth", "of Life", "Rogues'", "of The Dragon", "of The Eclipse", "of The Golem",
    "of The Moon", "of The Phoenix", "of The Sky", "of The Stars", "of The Sun", "of The Troll",
    "of The Unicorn", "Warriors'", "Wizards'", "Antique", "Swift", "Monks'", "Thieves'",
    "Identifying", "Elf Slaying", "Undead Slaying", "of David", "of Plenty", "Assassins'",
    "Barbarians'", "of the Storm", "of the Ocean", "of Water Walking", "of Feather Falling",
};
// clang-format on

static_assert(ClassNames[0] == "Necromancer" && ClassNames[15] == "Great Wyrm");
static_assert(MasteryNames[0] == "Novice" && MasteryNames[3] == "Grand");
static_assert(StandardEnchantments[0] == "None" && StandardEnchantments[25] == "of Protection");
static_assert(SpecialEnchantments[0] == "None" && SpecialEnchantments[72] == "of Feather Falling");

} // namespace Vocabulary
