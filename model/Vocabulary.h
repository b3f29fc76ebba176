#pragma once

#include <array>
#include <string_view>

// Fixed word lists the dialogs show (and velkar-cli reads and writes). Dialogs bind them by row
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

// Row = a spell group (the model's known-spell groups, Fire .. Dragon), column = its flag
// byte: the texts of the "Spells" tab. The racial groups use their first four (the others are
// spelled out empty: g++ 12 cannot read elements left to value-initialisation in a constant).
// clang-format off
inline constexpr std::array<std::array<std::string_view, 11>, 12> SpellNames = {{
    // Fire
    {{"Torch Light", "Fire Bolt", "Fire Resis.", "Fire Aura", "Haste", "Fireball", "Fire Spike",
      "Immolation", "Meteor Shower", "Inferno", "Incinerate"}},
    // Air
    {{"Wizard Eye", "Feather Fall", "Air Resis.", "Sparks", "Jump", "Shield", "Lightning Bolt",
      "Invisibility", "Implosion", "Fly", "Starburst"}},
    // Water
    {{"Awaken", "Poison Spray", "Water Resis.", "Ice Bolt", "Water Walk", "Recharge Item",
      "Acid Burst", "Enchant Item", "Town Portal", "Ice Blast", "Lloyd's Beacon"}},
    // Earth
    {{"Stun", "Slow", "Earth Resis.", "Deadly Swarm", "Stone Skin", "Blades", "Stone to Flesh",
      "Rock Blast", "Telekinesis", "Death Blossom", "Mass Distortion"}},
    // Spirit
    {{"Detect Life", "Bless", "Fate", "Turn Undead", "Remove Curse", "Preservation", "Heroism",
      "Spirit Lash", "Raise Dead", "Shared Life", "Resurrection"}},
    // Mind
    {{"Remove Fear", "Mind Blast", "Mind Resis.", "Telepathy", "Charm", "Cure Paralysis", "Berserk",
      "Mass Fear", "Cure Insanity", "Psychic Shock", "Enslave"}},
    // Body
    {{"Cure Weakness", "Heal", "Body Resis.", "Harm", "Regeneration", "Cure Poison", "Hammerhands",
      "Cure Disease", "Prot. from Magic", "Flying Fist", "Power Cure"}},
    // Light
    {{"Light Bolt", "Destroy Undead", "Dispel Magic", "Paralyze", "Summon Elemental",
      "Day of the Gods", "Prismatic Light", "Day of Protection", "Hour of Power", "Sunray",
      "Divine Intervention"}},
    // Dark
    {{"Reanimate", "Toxic Cloud", "Vampiric Weapon", "Shrinking Ray", "Shrapmetal",
      "Control Undead", "Pain Reflection", "Sacrifice", "Dragon Breath", "Armageddon", "Souldrinker"}},
    // DarkElf
    {{"Glamour", "Traveler's Boon", "Blind", "Darkfire Bolt", {}, {}, {}, {}, {}, {}, {}}},
    // Vampire
    {{"Lifedrain", "Levitate", "Charm", "Mistform", {}, {}, {}, {}, {}, {}, {}}},
    // Dragon
    {{"Fear", "Flame Blast", "Flight", "Wing Buffet", {}, {}, {}, {}, {}, {}, {}}},
}};
// clang-format on

static_assert(ClassNames[0] == "Necromancer" && ClassNames[15] == "Great Wyrm");
static_assert(MasteryNames[0] == "Novice" && MasteryNames[3] == "Grand");
static_assert(StandardEnchantments[0] == "None" && StandardEnchantments[25] == "of Protection");
static_assert(SpecialEnchantments[0] == "None" && SpecialEnchantments[72] == "of Feather Falling");
static_assert(SpellNames[0][0] == "Torch Light" && SpellNames[11][3] == "Wing Buffet" && SpellNames[11][4].empty());

} // namespace Vocabulary
