#include "model/ItemTable.h"

#include "model/AsciiFold.h"
#include "model/GameData.h"

#include <array>
#include <cstddef>

namespace {

constexpr int GridColumns = 14;
constexpr int GridRows = 9;

// Scrolls and books are named after the spell they hold: item 300 + k is the
// scroll and item 400 + k the book of spell text k.
constexpr int FirstScroll = 300;
constexpr int FirstBook = 400;

// clang-format off
constexpr std::array<std::string_view, 99> SpellTexts = {
    "Torch Light", "Fire Bolt", "Fire Resistance", "Fire Aura", "Haste", "Fireball", "Fire Spike",
    "Immolation", "Meteor Shower", "Inferno", "Incinerate", "Wizard Eye", "Feather Fall",
    "Air Resistance", "Sparks", "Jump", "Shield", "Lightning Bolt", "Invisibility", "Implosion",
    "Fly", "Starburst", "Awaken", "Poison Spray", "Water Resistance", "Ice Bolt", "Water Walk",
    "Recharge Item", "Acid Burst", "Enchant Item", "Town Portal", "Ice Blast", "Lloyd's Beacon",
    "Stun", "Slow", "Earth Resistance", "Deadly Swarm", "Stone Skin", "Blades", "Stone to Flesh",
    "Rock Blast", "Telekinesis", "Death Blossom", "Mass Distortion", "Detect Life", "Bless",
    "Fate", "Turn Undead", "Remove Curse", "Preservation", "Heroism", "Spirit Lash", "Raise Dead",
    "Shared Life", "Resurrection", "Remove Fear", "Mind Blast", "Mind Resistance", "Telepathy",
    "Charm", "Cure Paralysis", "Berserk", "Mass Fear", "Cure Insanity", "Psychic Shock", "Enslave",
    "Cure Weakness", "Heal", "Body Resistance", "Harm", "Regeneration", "Cure Poison",
    "Hammerhands", "Cure Disease", "Protection from Magic", "Flying Fist", "Power Cure",
    "Light Bolt", "Destroy Undead", "Dispel Magic", "Paralyze", "Summon Elemental",
    "Day of the Gods", "Prismatic Light", "Day of Protection", "Hour of Power", "Sunray",
    "Divine Intervention", "Reanimate", "Toxic Cloud", "Vampiric Weapon", "Shrinking Ray",
    "Shrapmetal", "Control Undead", "Pain Reflection", "Sacrifice", "Dragon Breath", "Armageddon",
    "Souldrinker"
};
// clang-format on

// Scroll and book names live back to back in one constant character buffer:
// the 99 scroll names first, then the 99 book names.
constexpr std::size_t SpellItemCount = 2 * SpellTexts.size();

struct NameParts {
    std::string_view Text;
    std::string_view Suffix;
};

constexpr NameParts SpellItemParts(std::size_t i)
{
    const std::size_t k = i % SpellTexts.size();
    if (i < SpellTexts.size())
        return {SpellTexts[k], " (scroll)"};
    // The game's item list names this one book differently from its scroll.
    return {k == 51 ? "Spirit Last" : SpellTexts[k], " (book)"};
}

constexpr std::size_t SpellItemLength(std::size_t i)
{
    const NameParts parts = SpellItemParts(i);
    return parts.Text.size() + parts.Suffix.size();
}

// Start of each name in SpellItemChars, computed in one pass: compilers cap constexpr
// evaluation steps, and a quadratic walk over 198 names runs into clang's limit.
constexpr auto SpellItemOffsets = [] {
    std::array<std::size_t, SpellItemCount + 1> offsets{};
    for (std::size_t i = 0; i < SpellItemCount; ++i)
        offsets[i + 1] = offsets[i] + SpellItemLength(i);
    return offsets;
}();

constexpr auto SpellItemChars = [] {
    std::array<char, SpellItemOffsets[SpellItemCount]> chars{};
    for (std::size_t i = 0; i < SpellItemCount; ++i) {
        std::size_t at = SpellItemOffsets[i];
        const NameParts parts = SpellItemParts(i);
        for (char c : parts.Text)
            chars[at++] = c;
        for (char c : parts.Suffix)
            chars[at++] = c;
    }
    return chars;
}();

constexpr std::string_view SpellItemName(std::size_t i)
{
    return {SpellItemChars.data() + SpellItemOffsets[i], SpellItemLength(i)};
}

enum class NameSource : uint8_t { Listed, Scrolls, Books };

constexpr std::size_t MaxRunNames = 52; // the potions, 220..271, are the longest run

// Consecutive item numbers sharing one size. Gaps are runs without names or size.
struct Run {
    int First;
    int Last;
    int Width;
    int Height;
    std::array<std::string_view, MaxRunNames> Names;
    NameSource Source = NameSource::Listed;
};

// clang-format off
constexpr Run Runs[] = {
    {1, 5, 1, 5, {"Longsword", "Trollish War Sword", "Dark Elven Longsword", "Templar's Sword",
        "Champion's Sword"}},
    {6, 10, 1, 6, {"Two-handed Sword", "Dark Elven Bastard Sword", "Minotaur Battlesword",
        "Dragonning Blade", "Headsman's Reaver"}},
    {11, 20, 1, 5, {"Iron Broadsword", "Trollish Claymore", "Lizardman Broadsword",
        "Knightly Broadsword", "Archangel Broadsword", "Rusty Cutlass", "Goblin Scimitar",
        "Regnan Cutlass", "Regnan Falchion", "Captain's Cutlass"}},
    {21, 25, 1, 3, {"Crude Dagger", "Crystal Dagger", "Merchantman's Dagger", "Master's Dagger",
        "Fanged Blade"}},
    {26, 32, 1, 4, {"Long Dagger", "Alvarian Poignard", "Regnan Fighting Knife", "Twilight Kris",
        "Dueling Long Dagger", "Stone Axe", "Battle Hatchet"}},
    {33, 33, 2, 4, {"Battleaxe"}},
    {34, 35, 2, 5, {"Dwarven Battleaxe", "Minotaur Battleaxe"}},
    {36, 36, 2, 7, {"Two-handed Axe"}},
    {37, 37, 2, 8, {"Footman's Axe"}},
    {38, 38, 2, 7, {"Minotaur War Axe"}},
    {39, 39, 2, 8, {"Elite Minotaur Axe"}},
    {40, 40, 2, 9, {"Minotaur Herdsman Axe"}},
    {41, 43, 1, 9, {"Ogre Fighting Stick", "Steel Spear", "Elven Long Spear"}},
    {44, 44, 2, 9, {"War Spear"}},
    {45, 46, 1, 9, {"Dragon Harpoon", "Improvised Voulge"}},
    {47, 50, 2, 9, {"Halberd", "Beaked Halberd", "Minotaur Campaign Pole-axe",
        "Labyrinth Grapple"}},
    {51, 51, 2, 8, {"Hayfork"}},
    {52, 55, 2, 9, {"Infantry Fork", "Lizardman Trident", "Regnan Trident", "Triton Trident"}},
    {56, 60, 2, 6, {"Hunting Bow", "Recurve Bow", "Snakewood Bow", "Elven Warbow",
        "Devilbone Bow"}},
    {61, 63, 2, 4, {"Light Crossbow", "Blood Drop Crossbow", "Hunting Crossbow"}},
    {64, 65, 2, 5, {"Caravaner's Crossbow", "Regnan Crossbow"}},
    {66, 66, 1, 5, {"Mace"}},
    {67, 68, 2, 5, {"Flail", "Temple Mace"}},
    {69, 69, 1, 7, {"Reverend Sceptre"}},
    {70, 70, 2, 7, {"Trollish War Mace"}},
    {71, 73, 2, 4, {"Sledgehammer", "Field Hammer", "Warhammer"}},
    {74, 75, 2, 5, {"Sun Hammer", "Trollish Maul"}},
    {76, 76, 1, 5, {"Club"}},
    {77, 77, 2, 5, {"Thornbark Club"}},
    {78, 78, 2, 6, {"Overlord's Club"}},
    {79, 79, 1, 8, {"Journey Staff"}},
    {80, 81, 1, 9, {"Orb Staff", "Priestly Staff"}},
    {82, 83, 2, 9, {"Serpent Staff", "Bone Staff"}},
    {84, 88, 3, 3, {"Leather Jerkin", "Hardened Leather Vest", "Caravaner's Leather",
        "Regnan Leather", "Alvarian Leather"}},
    {89, 89, 2, 3, {"Rusty Mail Vest"}},
    {90, 90, 3, 4, {"Steel Chainmail"}},
    {91, 93, 3, 3, {"Minotaur Chainmail", "Siertal Chainmail", "Erudine Chainmail"}},
    {94, 94, 3, 2, {"Rusty Breastplate"}},
    {95, 98, 3, 3, {"Banded Plate", "Minotaur Plate", "Dark Knight Plate", "Dragoning Plate"}},
    {99, 99, 2, 4, {"Trollish Shield"}},
    {100, 100, 3, 4, {"Thornbark Shield"}},
    {101, 101, 3, 6, {"Regnan Tournament Shield"}},
    {102, 102, 2, 6, {"Veteran Shield"}},
    {103, 103, 4, 6, {"Dragon Hunter's Shield"}},
    {104, 104, 2, 2, {"Wooden Buckler"}},
    {105, 107, 3, 3, {"Caravener's Small Shield", "Calvary Shield", "Death Head Shield"}},
    {108, 108, 3, 4, {"Eldritch Shield"}},
    {109, 109, 1, 1, {"Helm"}},
    {110, 110, 2, 2, {"Lizardman Helm"}},
    {111, 111, 1, 2, {"Full Helm"}},
    {112, 113, 2, 2, {"Battle Helm", "Dragon Helm"}},
    {114, 116, 1, 1, {"Cloth Hat", "Festival Hat", "Merchantman's Hat"}},
    {117, 122, 2, 1, {"Leather Belt", "Sturdy Belt", "Wyvern Leather Belt", "Steel Belt",
        "Artificer's Belt", "Traveler's Cloak"}},
    {123, 123, 2, 2, {"Moon Temple Cloak"}},
    {124, 125, 2, 1, {"Alvar Cloak", "Necromancer Cloak"}},
    {126, 126, 2, 2, {"Vampire Cloak"}},
    {127, 131, 1, 2, {"Leather Gloves", "Troll Gauntlets", "Steel Gauntlets", "Minotaur Gauntlets",
        "Crusader's Gauntlets"}},
    {132, 136, 2, 2, {"Walking Boots", "Hardened Leather Boots", "Regnan Boots", "Alvarian Boots",
        "Dragonning Boots"}},
    {137, 146, 1, 1, {"Bronze Ring", "Gold Ring", "Pearl Ring", "Gemstone Ring", "Amethyst Ring",
        "Necromatic Ring", "Ruby Ring", "Vampire's Ring", "Sun Opal Ring", "Focal Ring"}},
    {147, 151, 1, 2, {"Brass Charm", "Jade Amulet", "Blood Talisman", "Shadow Sect Medallion",
        "Locus Amulet"}},
    {152, 176, 1, 4, {"Witch's Wand of Fire", "Witch's Wand of Sparks", "Witch's Wand of Poison",
        "Witch's Wand of Stunning", "Witch's Wand of Harming", "Shaman's Wand of Light",
        "Shaman's Wand of Ice", "Shaman's Wand of Lashing", "Shaman's Wand of Mind",
        "Shaman's Wand of Swarms", "Wizard Wand of Fireballs", "Wizard Wand of Acid",
        "Wizard Wand of Lightning", "Wizard Wand of Blades", "Wizard Wand of Berzerking",
        "Serpent Wand of Blasting", "Serpent Wand of the Fist", "Serpent Wand of Rocks",
        "Serpent Wand of Paralysis", "Serpent Wand of Clouds", "Necrotic Wand of Implosion",
        "Necrotic Wand of Distortion", "Necrotic Wand of Shrapnel", "Necrotic Wand of Shrinking",
        "Necrotic Wand of Incineration"}},
    {177, 186, 1, 1, {"Zircon", "Iolite", "Citrine", "Amber", "Amethyst", "Topaz", "Emerald",
        "Sapphire", "Ruby", "Diamond"}},
    {187, 188, 2, 1, {"Gold (small)", "Gold (medium)"}},
    {189, 189, 2, 2, {"Gold (large)"}},
    {190, 199, 0, 0, {}},
    {200, 201, 1, 1, {"Widowsweep Berries", "Wolf's Eye"}},
    {202, 202, 1, 2, {"Phial of Gog Blood"}},
    {203, 203, 1, 1, {"Ruby"}},
    {204, 204, 1, 2, {"Phoenix Feather"}},
    {205, 208, 1, 1, {"Phima Root", "Meteor Fragment", "Will O'wisp Heart", "Datura"}},
    {209, 209, 1, 2, {"Dragon Turtle Fang"}},
    {210, 213, 1, 1, {"Poppy Pod", "Thornbark", "Sulfur", "Garnet"}},
    {214, 214, 1, 2, {"Unicorn Horn"}},
    {215, 216, 1, 1, {"Mushroom", "Obsidian"}},
    {217, 217, 2, 1, {"Wasp Wing"}},
    {218, 219, 1, 1, {"Mercury", "Philosopher's Stone"}},
    {220, 271, 1, 2, {"Potion Bottle", "Catalyst (grey Potion)", "Cure Wounds (red Potion)",
        "Magic Potion (blue Potion)", "Cure Weakness (yellow Potion)",
        "Cure Disease (orange Potion)", "Cure Poison (purple Potion)", "Awaken (green Potion)",
        "Haste (layered Potion)", "Heroism (layered Potion)", "Bless (layered Potion)",
        "Preservation (layered Potion)", "Shield (layered Potion)",
        "Recharge Item (layered Potion)", "Stoneskin (layered Potion)",
        "Water Breathing (layered Potion)", "Harden Item (layered Potion)",
        "Remove Fear (layered Potion)", "Remove Curse (layered Potion)",
        "Cure Insanity (layered Potion)", "Might Boost (white Potion)",
        "Intellect Boost (white Potion)", "Personality Boost (white Potion)",
        "Endurance Boost (white Potion)", "Speed Boost (white Potion)",
        "Accuracy Boost (white Potion)", "Flaming Potion (white Potion)",
        "Freezing Potion (white Potion)", "Noxious Potion (white Potion)",
        "Shocking Potion (white Potion)", "Swift Potion (white Potion)",
        "Cure Paralysis (white Potion)", "Divine Restoration (white Potion)",
        "Divine Cure (white Potion)", "Divine Power (white Potion)", "Luck Boost (white Potion)",
        "Fire Resistance (white Potion)", "Air Resistance (white Potion)",
        "Water Resistance (white Potion)", "Earth Resistance (white Potion)",
        "Mind Resistance (white Potion)", "Body Resistance (white Potion)",
        "Stone to Flesh (black Potion)", "Slaying Potion (black Potion)",
        "Pure Luck (black Potion)", "Pure Speed (black Potion)", "Pure Intellect (black Potion)",
        "Pure Endurance (black Potion)", "Pure Personality (black Potion)",
        "Pure Accuracy (black Potion)", "Pure Might (black Potion)",
        "Rejuvenation (black Potion)"}},
    {272, 299, 0, 0, {}},
    {300, 398, 2, 1, {}, NameSource::Scrolls},
    {399, 399, 0, 0, {}},
    {400, 400, 2, 2, {}, NameSource::Books},
    {401, 498, 2, 1, {}, NameSource::Books},
    {499, 499, 0, 0, {}},
    {500, 501, 2, 6, {"Elsenrail", "Glomenthal"}},
    {502, 502, 1, 5, {"Terminus"}},
    {503, 504, 2, 5, {"Judicious Measure", "Elderaxe"}},
    {505, 505, 2, 8, {"Volcano"}},
    {506, 506, 1, 9, {"Wyrm Spitter"}},
    {507, 507, 3, 9, {"Guardian"}},
    {508, 508, 1, 4, {"Foulfang"}},
    {509, 509, 1, 7, {"Scepter of Kings"}},
    {510, 510, 2, 8, {"Breaker"}},
    {511, 511, 2, 9, {"Staff of the Swamp"}},
    {512, 512, 2, 6, {"Longseeker"}},
    {513, 513, 3, 4, {"Serendine's Preservation"}},
    {514, 515, 3, 3, {"Glomenmail", "Supreme Plate"}},
    {516, 516, 3, 5, {"Eclipse"}},
    {517, 517, 1, 2, {"Fleetfingers"}},
    {518, 518, 2, 2, {"Herald's Boots"}},
    {519, 519, 1, 1, {"Ring of Planes"}},
    {520, 521, 2, 2, {"Drogg's Helm", "Crown of Final Dominion"}},
    {522, 522, 2, 1, {"Archangel Wings"}},
    {523, 523, 2, 6, {"Snake"}},
    {524, 524, 1, 5, {"Havoc"}},
    {525, 525, 1, 6, {"Finality"}},
    {526, 526, 2, 5, {"Hell's Cleaver"}},
    {527, 528, 1, 9, {"Spiritslayer", "Trident of Rulership"}},
    {529, 529, 1, 3, {"Blade of Mercy"}},
    {530, 530, 2, 9, {"Staff of Elements"}},
    {531, 531, 2, 6, {"Tournament Bow"}},
    {532, 532, 2, 5, {"Lightning Crossbow"}},
    {533, 533, 3, 4, {"Last Stage Cuirass"}},
    {534, 534, 4, 4, {"Herondale's Lost Shield"}},
    {535, 535, 1, 1, {"Ring of Fusion"}},
    {536, 537, 2, 1, {"Lucky Hat", "Berserker Belt"}},
    {538, 538, 2, 5, {"Mace of the Sun"}},
    {539, 539, 1, 9, {"Ebonest"}},
    {540, 540, 1, 6, {"Sword of Whistlebone"}},
    {541, 541, 2, 9, {"Axe of Balthazar"}},
    {542, 542, 2, 6, {"Noblebone Bow"}},
    {543, 601, 0, 0, {}},
    {602, 602, 2, 1, {"False Report"}},
    {603, 604, 2, 2, {"Urn of Ashes", "Nightshade Brazier"}},
    {605, 609, 1, 1, {"Dragon Leader's Egg", "Heart of Fire", "Heart of Water", "Heart of Air",
        "Heart of Earth"}},
    {610, 611, 2, 2, {"Conflux Key", "Lost Book of Kehl"}},
    {612, 612, 14, 4, {"Sarcophagus of Korbu"}},
    {613, 613, 1, 1, {"Puzzle Box"}},
    {614, 614, 1, 2, {"Vial of Grave Earth"}},
    {615, 615, 2, 2, {"Drum of Victory"}},
    {616, 616, 1, 2, {"Anointed Herb Potion"}},
    {617, 618, 1, 1, {"Power Stone (high)", "Power Stone (medium)"}},
    {619, 621, 1, 2, {"Pirate Leader's Key", "Prison Key 1", "Prison Key 2"}},
    {622, 622, 0, 0, {}},
    {623, 623, 1, 1, {"Gem of Restoration"}},
    {624, 625, 0, 0, {}},
    {626, 626, 2, 2, {"Prophecies of the Sun"}},
    {627, 627, 3, 1, {"Remains of Korbu"}},
    {628, 629, 2, 2, {"Lich Jar", "Ring of Keys"}},
    {630, 630, 2, 4, {"Idol of the Snake"}},
    {631, 631, 2, 2, {"Big Brass Ring"}},
    {632, 632, 2, 4, {"Naga Hide"}},
    {633, 633, 3, 4, {"Dire Wolf Pelt"}},
    {634, 634, 2, 1, {"Flute"}},
    {635, 635, 1, 2, {"Royal Wasp Jelly"}},
    {636, 636, 2, 2, {"Dragonbane Flower"}},
    {637, 637, 1, 2, {"Bone of Doom"}},
    {638, 638, 2, 1, {"Druid Circlet of Power"}},
    {639, 639, 1, 1, {"Arcane Key"}},
    {640, 640, 2, 1, {"Wyvern Horn"}},
    {641, 641, 1, 1, {"Ogre Key"}},
    {642, 642, 2, 1, {"Pirate Hat"}},
    {643, 643, 2, 2, {"Tobersk Fruit"}},
    {644, 645, 1, 2, {"Tobersk Pulp", "Tobersk Brandy"}},
    {646, 646, 4, 2, {"Heartwood of Jadame"}},
    {647, 649, 4, 4, {"Flawed Amulets", "Dried Sunfish", "Silver Dust of the Sea"}},
    {650, 650, 2, 1, {"Forged Vouchers"}},
    {651, 651, 4, 4, {"Ground Wyvern Horn"}},
    {652, 652, 2, 2, {"Prophecies of the Snake"}},
    {653, 653, 1, 1, {"Ogre Ear"}},
    {654, 654, 2, 1, {"Wasp Stingers"}},
    {655, 656, 1, 1, {"Green Apple", "Horseshoe"}},
    {657, 657, 1, 2, {"Enchanted Amulet"}},
    {658, 659, 2, 1, {"Wheel of Frelandeau", "Log of Eldenbrie"}},
    {660, 660, 1, 1, {"Ball of Dunduck"}},
    {661, 661, 1, 2, {"Emperor Thorn's Key"}},
    {662, 662, 2, 2, {"Cannonball of Dominion"}},
    {663, 685, 0, 0, {}},
    {686, 691, 1, 1, {"Iron-laced Ore", "Siertal-laced Ore", "Phylt-laced Ore", "Kergar-laced Ore",
        "Erudine-laced Ore", "Stalt-laced Ore"}},
    {692, 699, 0, 0, {}},
    {700, 740, 2, 1, {"Rejuvenation Recipe", "Pure Might Recipe", "Pure Accuracy Recipe",
        "Pure Personality Recipe", "Pure Endurance Recipe", "Pure Intellect Recipe",
        "Pure Speed Recipe", "Pure Luck Recipe", "Slaying Potion Recipe", "Stone to Flesh Recipe",
        "Might Boost Recipe", "Intellect Boost Recipe", "Personality Boost Recipe",
        "Endurance Boost Recipe", "Speed Boost Recipe", "Accuracy Boost Recipe",
        "Flaming Potion Recipe", "Freezing Potion Recipe", "Noxious Potion Recipe",
        "Shocking Potion Recipe", "Swift Potion Recipe", "Cure Paralysis Recipe",
        "Divine Restoration Recipe", "Divine Cure Recipe", "Divine Power Recipe",
        "Luck Boost Recipe", "Fire Resistance Recipe", "Air Resistance Recipe",
        "Water Resistance Recipe", "Earth Resistance Recipe", "Mind Resistance Recipe",
        "Body Resistance Recipe", "Certificate of Authentication", "Journal Scrap 1",
        "Journal Scrap 2", "Journal Scrap 3", "Journal Scrap 4", "Journal Scrap 5",
        "Journal Scrap 6", "Journal Scrap 7", "Journal Scrap 8"}},
    {741, 742, 2, 2, {"Dadeross's Letter to Fellmoon", "Blackmail Letter"}},
    {743, 743, 2, 1, {"Journal Scrap 9"}},
    {744, 744, 2, 2, {"History of the Vault of Time"}},
    {745, 745, 2, 1, {"Dagger Wound Oddities"}},
    {746, 747, 2, 2, {"Letter to Arion Hunter", "Page Torn from a Book"}},
    {748, 750, 2, 1, {"Notes - Emergency Meeting", "Cannon Design Notes", "Old Scroll"}},
};
// clang-format on

constexpr bool RunsCoverEveryNumberOnce()
{
    int next = 1;
    for (const Run& run : Runs) {
        if (run.First != next || run.Last < run.First)
            return false;
        next = run.Last + 1;
    }
    return next == ItemTable::BuiltInCount + 1;
}

constexpr std::size_t NameCount(const Run& run)
{
    std::size_t count = 0;
    while (count < run.Names.size() && !run.Names[count].empty())
        ++count;
    for (std::size_t i = count; i < run.Names.size(); ++i)
        if (!run.Names[i].empty())
            return MaxRunNames + 1; // a hole in the list: never matches a run length
    return count;
}

constexpr bool RunNamesMatchNumbers()
{
    for (const Run& run : Runs) {
        const auto length = static_cast<std::size_t>(run.Last - run.First + 1);
        const bool listsNames = run.Source == NameSource::Listed && run.Width != 0;
        if (NameCount(run) != (listsNames ? length : 0))
            return false;
    }
    return true;
}

constexpr bool SpellRunsStayInRange()
{
    for (const Run& run : Runs) {
        if (run.Source == NameSource::Listed)
            continue;
        const int first = run.Source == NameSource::Scrolls ? FirstScroll : FirstBook;
        const int last = first + static_cast<int>(SpellTexts.size()) - 1;
        if (run.First < first || run.Last > last)
            return false;
    }
    return true;
}

constexpr bool SizesFitInventory()
{
    for (const Run& run : Runs) {
        if ((run.Width == 0) != (run.Height == 0))
            return false;
        if (run.Source != NameSource::Listed && run.Width == 0)
            return false;
        if (run.Width < 0 || run.Width > GridColumns || run.Height < 0 || run.Height > GridRows)
            return false;
    }
    return true;
}

static_assert(RunsCoverEveryNumberOnce(), "item runs must tile 1..750 in order");
static_assert(RunNamesMatchNumbers(), "a run lists the wrong number of names");
static_assert(SpellRunsStayInRange(), "scroll or book run outside its spell range");
static_assert(SizesFitInventory(), "item size outside the inventory grid");

// Width 0 marks a number without an item kind.
struct Entry {
    std::string_view Name;
    int32_t Width = 0;
    int32_t Height = 0;
};

constexpr auto Entries = [] {
    std::array<Entry, ItemTable::BuiltInCount> entries{};
    for (const Run& run : Runs) {
        for (int n = run.First; n <= run.Last; ++n) {
            Entry& entry = entries[static_cast<std::size_t>(n - 1)];
            entry.Width = run.Width;
            entry.Height = run.Height;
            switch (run.Source) {
            case NameSource::Listed:
                if (run.Width != 0) // gaps keep the empty name
                    entry.Name = run.Names[static_cast<std::size_t>(n - run.First)];
                break;
            case NameSource::Scrolls:
                entry.Name = SpellItemName(static_cast<std::size_t>(n - FirstScroll));
                break;
            case NameSource::Books:
                entry.Name = SpellItemName(SpellTexts.size() + static_cast<std::size_t>(n - FirstBook));
                break;
            }
        }
    }
    return entries;
}();

constexpr int NamedEntryCount()
{
    int count = 0;
    for (const Entry& entry : Entries)
        count += entry.Name.empty() ? 0 : 1;
    return count;
}

constexpr bool NamedExactlyWhenSized()
{
    for (const Entry& entry : Entries)
        if (entry.Name.empty() != (entry.Width == 0))
            return false;
    return true;
}

constexpr const Entry& At(int n)
{
    return Entries[static_cast<std::size_t>(n - 1)];
}

static_assert(NamedEntryCount() == 617, "expected 617 item kinds");
static_assert(ItemTable::BuiltInCount - NamedEntryCount() == 133, "expected 133 unnamed numbers");
static_assert(NamedExactlyWhenSized());
static_assert(At(1).Name == "Longsword" && At(1).Width == 1 && At(1).Height == 5);
static_assert(At(612).Name == "Sarcophagus of Korbu" && At(612).Width == 14 && At(612).Height == 4);
static_assert(At(750).Name == "Old Scroll");
static_assert(At(300).Name == "Torch Light (scroll)" && At(398).Name == "Souldrinker (scroll)");
static_assert(At(400).Name == "Torch Light (book)" && At(400).Width == 2 && At(400).Height == 2);
static_assert(At(401).Width == 2 && At(401).Height == 1);
static_assert(At(351).Name == "Spirit Lash (scroll)" && At(451).Name == "Spirit Last (book)");
static_assert(At(498).Name == "Souldrinker (book)");

} // namespace

const ItemTable& ItemTable::BuiltIn()
{
    static const ItemTable table = [] {
        ItemTable t;
        t.Fill();
        return t;
    }();
    return table;
}

ItemTable ItemTable::FromGame(std::shared_ptr<const GameData> game)
{
    if (game == nullptr || !game->HasItemTable())
        return BuiltIn();
    auto rows = std::make_shared<GameRows>();
    const auto& textRows = game->Table().Rows();
    rows->Rows.reserve(textRows.size());
    rows->Index.assign(static_cast<std::size_t>(game->ItemCount()) + 1, -1);
    for (const ItemsText::Row& row : textRows) {
        GameRow entry{row.Name, game->GetItemSize(row.Number), AsciiFold(row.Picture) == "null"};
        if (!entry.Size)
            entry.Size = BuiltIn().GetItemSize(row.Number);
        rows->Index[static_cast<std::size_t>(row.Number)] = static_cast<std::int32_t>(rows->Rows.size());
        rows->Rows.push_back(std::move(entry));
    }
    ItemTable table;
    table.filled_ = true;
    table.rows_ = std::move(rows);
    table.game_ = std::move(game);
    return table;
}

void ItemTable::Fill()
{
    filled_ = true;
    rows_.reset();
    game_.reset();
}

bool ItemTable::IsFilled() const noexcept
{
    return filled_;
}

int ItemTable::Count() const noexcept
{
    if (!filled_)
        return 0;
    return rows_ ? static_cast<int>(rows_->Rows.size()) : BuiltInCount;
}

int ItemTable::LastNumber() const noexcept
{
    if (!filled_)
        return 0;
    return rows_ ? static_cast<int>(rows_->Index.size()) - 1 : BuiltInCount;
}

const ItemTable::GameRow* ItemTable::Find(int n) const
{
    if (n < 0 || n >= static_cast<int>(rows_->Index.size()))
        return nullptr;
    const std::int32_t row = rows_->Index[static_cast<std::size_t>(n)];
    return row < 0 ? nullptr : &rows_->Rows[static_cast<std::size_t>(row)];
}

std::string_view ItemTable::GetItemName(int n) const
{
    if (!filled_ || n < 1 || n > LastNumber())
        return {};
    if (rows_) {
        const GameRow* row = Find(n);
        return row != nullptr ? std::string_view(row->Name) : std::string_view();
    }
    return At(n).Name;
}

void ItemTable::GetItemNameList(std::vector<std::string>& list) const
{
    const int last = LastNumber();
    list.reserve(list.size() + static_cast<std::size_t>(last));
    for (int n = 1; n <= last; ++n)
        list.emplace_back(GetItemName(n));
}

std::vector<int> ItemTable::ChoosableNumbers() const
{
    std::vector<int> numbers;
    const int last = LastNumber();
    numbers.reserve(static_cast<std::size_t>(last));
    for (int n = 1; n <= last; ++n) {
        if (rows_) {
            const GameRow* row = Find(n);
            if (row != nullptr && !row->Placeholder && !row->Name.empty())
                numbers.push_back(n);
        } else if (!At(n).Name.empty()) {
            numbers.push_back(n);
        }
    }
    return numbers;
}

std::optional<ItemSize> ItemTable::GetItemSize(int n) const
{
    if (!filled_ || n < 1 || n > LastNumber())
        return std::nullopt;
    if (rows_) {
        const GameRow* row = Find(n);
        return row != nullptr ? row->Size : std::nullopt;
    }
    const Entry& entry = At(n);
    if (entry.Width == 0)
        return std::nullopt;
    return ItemSize{entry.Width, entry.Height};
}
