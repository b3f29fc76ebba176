#include "dialogs/CVelkarPage2.h"

#include "dialogs/RankedBindings.h"
#include "ui/NumberBox.h"
#include "ui/TextCodec.h"

#include "SaveGame.h"
#include "Vocabulary.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

namespace {

using Page = CVelkarPage2;

// One skill: its controls, its slot in the record's skill table, its column, and the
// ranks of its two controls in the exchange order (which decides what a failed check keeps).
struct Row {
    const char* label;
    int levelId;
    int spinId;
    int masteryId;
    int slot;
    int column;
    int masteryRank;
    int levelRank;
};

// In layout order, column by column, top to bottom.
constexpr std::array<Row, Page::RowCount> kRows = {{
    {"Staff:", 1062, 1063, 1034, 0, 0, 48, 49},
    {"Sword:", 1064, 1065, 1042, 1, 0, 50, 51},
    {"Dagger:", 1066, 1067, 1043, 2, 0, 54, 15},
    {"Axe:", 1068, 1069, 1044, 3, 0, 3, 4},
    {"Spear:", 1070, 1071, 1045, 4, 0, 44, 45},
    {"Bow:", 1082, 1083, 1046, 5, 0, 11, 12},
    {"Mace:", 1084, 1085, 1047, 6, 0, 28, 29},
    {"Blaster:", 1019, 1116, 1048, 7, 0, 5, 6},
    {"Shield:", 1020, 1117, 1049, 8, 0, 42, 43},
    {"Leather:", 1021, 1118, 1050, 9, 0, 24, 25},
    {"Chain", 1022, 1119, 1051, 10, 0, 13, 14},
    {"Plate:", 1023, 1120, 1052, 11, 0, 38, 39},
    {"Fire:", 1017, 1114, 1053, 12, 1, 20, 21},
    {"Air:", 1018, 1115, 1054, 13, 1, 1, 2},
    {"Water:", 1024, 1121, 1055, 14, 1, 52, 53},
    {"Earth:", 1025, 1122, 1056, 15, 1, 18, 19},
    {"Spirit:", 1026, 1123, 1057, 16, 1, 46, 47},
    {"Mind:", 1027, 1124, 1058, 17, 1, 34, 35},
    {"Body:", 1028, 1125, 1059, 18, 1, 7, 8},
    {"Light:", 1029, 1126, 1060, 19, 1, 26, 27},
    {"Dark:", 1030, 1127, 1061, 20, 1, 16, 17},
    {"Dark Elf:", 1094, 1142, 1095, 21, 1, 71, 72},
    {"Vampire:", 1096, 1143, 1097, 22, 1, 73, 74},
    {"Dragon:", 1098, 1144, 1099, 23, 1, 69, 70},
    {"Identify:", 1031, 1128, 1072, 24, 2, 22, 23},
    {"Merchant:", 1032, 1129, 1073, 25, 2, 32, 33},
    {"Repair:", 1033, 1130, 1074, 26, 2, 40, 41},
    {"Bodybuilding:", 1035, 1131, 1075, 27, 2, 9, 10},
    {"Meditation:", 1036, 1132, 1076, 28, 2, 30, 31},
    {"Perception:", 1037, 1133, 1077, 29, 2, 36, 37},
    {"Regeneration:", 1088, 1139, 1089, 30, 2, 75, 76},
    {"Disarm:", 1038, 1134, 1078, 31, 2, 59, 60},
    {"Dodging:", 1039, 1135, 1079, 32, 2, 61, 62},
    {"Unarmed:", 1040, 1136, 1080, 33, 2, 67, 68},
    {"ID Monster:", 1041, 1137, 1081, 34, 2, 63, 64},
    {"Armsmaster:", 1086, 1138, 1087, 35, 2, 57, 58},
    {"Alchemy:", 1090, 1140, 1091, 37, 2, 55, 56},
    {"Learning:", 1092, 1141, 1093, 38, 2, 65, 66},
}};

constexpr std::array<int, 2 * Page::RowCount> AllRanks()
{
    std::array<int, 2 * Page::RowCount> ranks{};
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        ranks[2 * i] = kRows[i].masteryRank;
        ranks[2 * i + 1] = kRows[i].levelRank;
    }
    return ranks;
}
static_assert(RankedBindings::ArePermutation(AllRanks()));

// Layout.
constexpr int kColumnCount = 3;
constexpr int kLevelWidth = 58;
constexpr int kColumnGap = 22;
constexpr int kCellGap = 6;
constexpr int kRowGap = 4;

// The skill word: level in bits 0-5, mastery one-hot in bits 6-8 (Grand is 0x100).
constexpr int kLevelMask = 0x3F;
constexpr int kMasteryShift = 6;
constexpr int kExpert = 1;
constexpr int kMaster = 2;
constexpr int kGrand = 3;
constexpr int kGrandCode = 4;

// As the game reads a word, highest bit first, so every word shows a mastery and a
// Master (whatever lower bits ride along) is never raised to Grand.
int MasteryOf(int word)
{
    const int code = (word >> kMasteryShift) & 7;
    if ((code & kGrandCode) != 0)
        return kGrand;
    if ((code & kMaster) != 0)
        return kMaster;
    return (code & kExpert) != 0 ? kExpert : 0;
}

int Compose(int level, int mastery)
{
    const int code = mastery == kGrand ? kGrandCode : mastery;
    return level | (code << kMasteryShift);
}

} // namespace

CVelkarPage2::CVelkarPage2(SaveGame& save, int n) : CharacterPage(QStringLiteral("Skills"), save, n)
{
    RankedBindings bindings;
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        const Row& row = kRows[i];
        bindings.Add(row.masteryRank, DataExchange::Choice(row.masteryId, masteries_[i]));
        bindings.Add(row.levelRank, DataExchange::Range(row.levelId, levels_[i], LevelMinimum, LevelMaximum));
    }
    Exchange().SetBindings(bindings.Sorted());
}

void CVelkarPage2::OnCreate()
{
    auto* page = new QHBoxLayout(this);
    page->setSpacing(kColumnGap);
    std::array<QGridLayout*, kColumnCount> columns{};
    std::array<int, kColumnCount> used{};
    for (QGridLayout*& column : columns) {
        column = new QGridLayout;
        column->setHorizontalSpacing(kCellGap); // not the column gap, which it would inherit
        column->setVerticalSpacing(kRowGap);
        page->addLayout(column);
    }
    for (const Row& row : kRows) {
        auto* level = new NumberBox(NumberBox::Keys::Digits);
        level->setObjectName(QString::number(row.levelId));
        level->SetSpinId(row.spinId);
        level->SetRange(LevelMinimum, LevelMaximum);
        level->setFixedWidth(kLevelWidth);
        auto* mastery = new QComboBox;
        mastery->setObjectName(QString::number(row.masteryId));
        for (const std::string_view name : Vocabulary::MasteryNames)
            mastery->addItem(TextCodec::Decode(name));
        auto* label = new QLabel(QString::fromLatin1(row.label));
        label->setBuddy(level);

        QGridLayout* column = columns[static_cast<std::size_t>(row.column)];
        const int line = used[static_cast<std::size_t>(row.column)]++;
        column->addWidget(label, line, 0);
        column->addWidget(level, line, 1);
        column->addWidget(mastery, line, 2);
    }
    for (QGridLayout* column : columns)
        column->setRowStretch(column->rowCount(), 1);
}

void CVelkarPage2::LoadFromModel()
{
    const SaveGame& game = Game();
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        const int word = game.GetSkill(Number(), kRows[i].slot);
        levels_[i] = word & kLevelMask;
        masteries_[i] = MasteryOf(word);
    }
    Exchange().Show();
}

void CVelkarPage2::StoreToModel()
{
    // A failed check stops the reading; the rows are written all the same.
    Exchange().Read();
    SaveGame& game = Game();
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        // A row nobody changed keeps its word as the game wrote it, odd bits and all.
        if (!Exchange().Changed(kRows[i].levelId) && !Exchange().Changed(kRows[i].masteryId))
            continue;
        // Only a failed range check leaves a level outside 0..63: that row keeps its word.
        if (levels_[i] < LevelMinimum || levels_[i] > LevelMaximum)
            continue;
        game.SetSkill(Number(), kRows[i].slot, Compose(levels_[i], masteries_[i]));
    }
    Exchange().Remember();
}
