#include "model/AwardTable.h"

#include "model/CharacterLayout.h"
#include "model/GameData.h"
#include "model/GameTextTable.h"

#include <array>
#include <cstddef>

namespace {

// Texts as the game shows them, typos included.
// clang-format off
constexpr std::array<std::string_view, AwardTable::BuiltInCount> AwardTexts = {
    "",
    "Brought Power Stone to Fredrick Talimere",
    "Blackmailed the Wererat Smugglers",
    "Delivered Dadeross' Letter to Elgar Fellmoon",
    "Found a Witness to the Cataclysm in the Ironsand Desert",
    "Placed Vilebite's Ashes in the Troll Tomb",
    "Formed An Alliance With the Garrote Gorge Dragons",
    "Formed An Alliance With Charles Quixote And His Dragon Hunters",
    "Formed An Alliance With the Minotaurs of Ravage Roaming",
    "Formed An Alliance With the Necromancers' Guild",
    "Formed An Alliance With the Temple of the Sun",
    "Sunk the Regnan Fleet Allowing Roland And Catherine Ironfist to Join the Alliance",
    "Built the Conflux Key",
    "Rescued Shalwend, Lord of Air",
    "Rescued Acwalander, Lord of Water",
    "Rescued Gralkor the Cruel, Lord of Earth",
    "Rescued Pyrannaste, Lord of Fire",
    "Promote to Elf Patriarch",
    "Rescued Cauri Blackthorne",
    "Promoted to War Troll",
    "Found Troll Homeland",
    "Promoted to Champion",
    "Returned Ebonest to Charles Quixote",
    "Stopped the Yellow Fever Epidemic On Dagger Wound Island",
    "Rescued Blazon Stormlance",
    "Promoted to Great Wyrm",
    "Gave the Sword of Whistlebone the Slayer to the Deftclaw Redreaver",
    "Promoted to Minotaur Lord",
    "Recovered Axe of Balthazar",
    "Promoted to Cleric of the Sun",
    "Found the Lost Prophecies of the Sun And Returned Them to the Temple of the Sun",
    "Promoted to Nosferatu",
    "Found the Sarcophagus And Remains of Korbu",
    "Promoted to Lich",
    "Found the Lost Book of Khel",
    "Arcomage Wins: X",
    "Arcomage Losses: X",
    "Have Earned Status of Novice Bounty Hunter",
    "Have Earned Status of Journeyman Bounty Hunter",
    "Have Earned Status of Master Bounty Hunter",
    "Retrieved Three Cheeses For Asael Fromago, the Cheese Connoisseur of Alvar",
    "Arcomage Champion",
    "X Deaths",
    "Collected X in Bounties",
    "Served X Prison Terms",
    "Won X Page Arena Victories",
    "Won X Squire Arena Victories",
    "Won X Knight Arena Victories",
    "Won X Lord Arena Victories",
    "Found the Treasure of the Dread Pirate Stanley!",
    "Recovered Idol of the Snake For Hiss of Blood Drop Village",
    "Brought Potions of Fire Resistance to the Southern Houses of Rust",
    "Killed All of the Ogres in the Alvar Region",
    "Rescued Isthric the Tongue, Brother of Rohtnax, On the Dagger Wound Islands",
    "Found the Shield Eclipse",
    "Rescued Irabelle Hunter from the Ogre Fortress in Alvar",
    "Found the Dragonbane Flower For Calindril in the Garrote Gorge Dragon Hunter's Fort",
    "Found the Dragonbane Flower For Balion Tearwing in Garrote Gorge",
    "Brought the Annointed Herb Potion to Languid On the Dagger Wound Islands",
    "Killed All of the Dire Wolves in the Ravenshore Area",
    "Delivered False Report to the Dread Pirate Stanley For Arion Hunger",
    "Killed All of the Dragons in the Garrote Gorge Area For Avalon in the Garrote Gorge"
        " Dragon Hunter's Fort",
    "Killed All of the Dragon Hunters in the Garrote Gorge Are For Jerin Flame-eye in the"
        " Dragon Cave of Garrote Gorge",
    "Won Arcomage At the Grog And Grub in the Dagger Wound Islands",
    "Won Arcomage At Kessel's Kantina in Ravenshore",
    "Won Arcomage At the Profit House in Alvar",
    "Won Arcomage At the Parched Throat in the Ironsand Desert",
    "Won Arcomage At the Dragon's Blood Inn in Garrote Gorge",
    "Won Arcomage At the Black Company in Shadowspire",
    "Won Arcomage At the Traveler's Rest in Murmurwoods",
    "Won Arcomage At the Bull's Eye Inn in Ravage Roaming",
    "Won Arcomage At the Pirate's Rest in Regna",
    "Won Arcomage At the Dancing Ogre in Ravenshore",
    "Won Arcomage At Miho's Roadhouse in Alvar",
};
// clang-format on

static_assert(AwardTexts[0].empty());
static_assert(AwardTexts[35] == "Arcomage Wins: X");
static_assert(AwardTexts[73] == "Won Arcomage At Miho's Roadhouse in Alvar");

constexpr bool OnlyAwardZeroIsEmpty()
{
    for (std::size_t a = 1; a < AwardTexts.size(); ++a)
        if (AwardTexts[a].empty())
            return false;
    return true;
}
static_assert(OnlyAwardZeroIsEmpty(), "a text is missing: the list has shifted");

} // namespace

const AwardTable& AwardTable::BuiltIn()
{
    static const AwardTable table = [] {
        AwardTable built;
        built.Fill();
        return built;
    }();
    return table;
}

AwardTable AwardTable::FromGame(const GameData* game)
{
    if (game == nullptr || !game->HasAwardTable())
        return BuiltIn();
    auto texts = std::make_shared<std::vector<std::string>>();
    for (const GameData::AwardRow& row : game->AwardRows()) {
        // "A Bit" k is bit k - 1; a bit past the record's area is no award of this program.
        const int a = row.Bit - 1;
        if (a < 0 || a >= CharacterLayout::AwardBitCount || GameTextTable::IsBlank(row.Text))
            continue;
        if (static_cast<std::size_t>(a) >= texts->size())
            texts->resize(static_cast<std::size_t>(a) + 1);
        std::string& text = (*texts)[static_cast<std::size_t>(a)];
        if (text.empty())
            text = row.Text; // of two rows for one bit, the first counts
    }
    if (texts->empty())
        return BuiltIn();
    AwardTable table;
    table.filled_ = true;
    table.texts_ = std::move(texts);
    return table;
}

void AwardTable::Fill()
{
    filled_ = true;
    texts_.reset();
}

int AwardTable::Count() const noexcept
{
    if (!filled_)
        return 0;
    return texts_ == nullptr ? BuiltInCount : static_cast<int>(texts_->size());
}

std::optional<std::string_view> AwardTable::GetAwardText(int a) const
{
    if (a < 0 || a >= Count())
        return std::nullopt;
    const auto index = static_cast<std::size_t>(a);
    return texts_ == nullptr ? AwardTexts[index] : std::string_view((*texts_)[index]);
}

void AwardTable::GetAwardTextList(std::vector<std::string>& list) const
{
    const int count = Count();
    list.reserve(list.size() + static_cast<std::size_t>(count));
    for (int a = 0; a < count; ++a)
        list.emplace_back(*GetAwardText(a));
}

std::vector<int> AwardTable::NamedNumbers() const
{
    std::vector<int> numbers;
    for (int a = 0; a < Count(); ++a) {
        if (!GetAwardText(a)->empty())
            numbers.push_back(a);
    }
    return numbers;
}
