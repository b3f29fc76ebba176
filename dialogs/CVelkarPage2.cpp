// CVelkarPage2, the sheet's "Skills" tab: the 38 skills, each a level and a mastery.

#include "dialogs/CVelkarPage2.h"

#include "dialogs/ExchangeOrder.h"
#include "text/TextCodec.h"
#include "ui/ControlId.h"
#include "ui/Mnemonics.h"
#include "ui/NumberBox.h"

#include "model/SaveGame.h"
#include "model/SkillWord.h"
#include "model/Vocabulary.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

#include <vector>

namespace {

using Page = CVelkarPage2;

// One skill: its controls, its slot in the record's skill table, and its column.
struct Row {
    const char* label = nullptr;
    int levelId = 0;
    int spinId = 0;
    int masteryId = 0;
    int slot = 0;
    int column = 0;
};

// In layout order, column by column, top to bottom.
// clang-format off
constexpr std::array<Row, Page::RowCount> kRows = {{
    {.label = "Staff:", .levelId = 1062, .spinId = 1063, .masteryId = 1034, .slot = 0, .column = 0},
    {.label = "Sword:", .levelId = 1064, .spinId = 1065, .masteryId = 1042, .slot = 1, .column = 0},
    {.label = "Dagger:", .levelId = 1066, .spinId = 1067, .masteryId = 1043, .slot = 2, .column = 0},
    {.label = "Axe:", .levelId = 1068, .spinId = 1069, .masteryId = 1044, .slot = 3, .column = 0},
    {.label = "Spear:", .levelId = 1070, .spinId = 1071, .masteryId = 1045, .slot = 4, .column = 0},
    {.label = "Bow:", .levelId = 1082, .spinId = 1083, .masteryId = 1046, .slot = 5, .column = 0},
    {.label = "Mace:", .levelId = 1084, .spinId = 1085, .masteryId = 1047, .slot = 6, .column = 0},
    {.label = "Blaster:", .levelId = 1019, .spinId = 1116, .masteryId = 1048, .slot = 7, .column = 0},
    {.label = "Shield:", .levelId = 1020, .spinId = 1117, .masteryId = 1049, .slot = 8, .column = 0},
    {.label = "Leather:", .levelId = 1021, .spinId = 1118, .masteryId = 1050, .slot = 9, .column = 0},
    {.label = "Chain", .levelId = 1022, .spinId = 1119, .masteryId = 1051, .slot = 10, .column = 0},
    {.label = "Plate:", .levelId = 1023, .spinId = 1120, .masteryId = 1052, .slot = 11, .column = 0},
    {.label = "Fire:", .levelId = 1017, .spinId = 1114, .masteryId = 1053, .slot = 12, .column = 1},
    {.label = "Air:", .levelId = 1018, .spinId = 1115, .masteryId = 1054, .slot = 13, .column = 1},
    {.label = "Water:", .levelId = 1024, .spinId = 1121, .masteryId = 1055, .slot = 14, .column = 1},
    {.label = "Earth:", .levelId = 1025, .spinId = 1122, .masteryId = 1056, .slot = 15, .column = 1},
    {.label = "Spirit:", .levelId = 1026, .spinId = 1123, .masteryId = 1057, .slot = 16, .column = 1},
    {.label = "Mind:", .levelId = 1027, .spinId = 1124, .masteryId = 1058, .slot = 17, .column = 1},
    {.label = "Body:", .levelId = 1028, .spinId = 1125, .masteryId = 1059, .slot = 18, .column = 1},
    {.label = "Light:", .levelId = 1029, .spinId = 1126, .masteryId = 1060, .slot = 19, .column = 1},
    {.label = "Dark:", .levelId = 1030, .spinId = 1127, .masteryId = 1061, .slot = 20, .column = 1},
    {.label = "Dark Elf:", .levelId = 1094, .spinId = 1142, .masteryId = 1095, .slot = 21, .column = 1},
    {.label = "Vampire:", .levelId = 1096, .spinId = 1143, .masteryId = 1097, .slot = 22, .column = 1},
    {.label = "Dragon:", .levelId = 1098, .spinId = 1144, .masteryId = 1099, .slot = 23, .column = 1},
    {.label = "Identify:", .levelId = 1031, .spinId = 1128, .masteryId = 1072, .slot = 24, .column = 2},
    {.label = "Merchant:", .levelId = 1032, .spinId = 1129, .masteryId = 1073, .slot = 25, .column = 2},
    {.label = "Repair:", .levelId = 1033, .spinId = 1130, .masteryId = 1074, .slot = 26, .column = 2},
    {.label = "Bodybuilding:", .levelId = 1035, .spinId = 1131, .masteryId = 1075, .slot = 27, .column = 2},
    {.label = "Meditation:", .levelId = 1036, .spinId = 1132, .masteryId = 1076, .slot = 28, .column = 2},
    {.label = "Perception:", .levelId = 1037, .spinId = 1133, .masteryId = 1077, .slot = 29, .column = 2},
    {.label = "Regeneration:", .levelId = 1088, .spinId = 1139, .masteryId = 1089, .slot = 30, .column = 2},
    {.label = "Disarm:", .levelId = 1038, .spinId = 1134, .masteryId = 1078, .slot = 31, .column = 2},
    {.label = "Dodging:", .levelId = 1039, .spinId = 1135, .masteryId = 1079, .slot = 32, .column = 2},
    {.label = "Unarmed:", .levelId = 1040, .spinId = 1136, .masteryId = 1080, .slot = 33, .column = 2},
    {.label = "ID Monster:", .levelId = 1041, .spinId = 1137, .masteryId = 1081, .slot = 34, .column = 2},
    {.label = "Armsmaster:", .levelId = 1086, .spinId = 1138, .masteryId = 1087, .slot = 35, .column = 2},
    {.label = "Alchemy:", .levelId = 1090, .spinId = 1140, .masteryId = 1091, .slot = 37, .column = 2},
    {.label = "Learning:", .levelId = 1092, .spinId = 1141, .masteryId = 1093, .slot = 38, .column = 2},
}};

// The exchange order, which decides what a failed check keeps: mastery lists and level boxes
// by id.
constexpr std::array<int, 2 * Page::RowCount> kExchangeOrder = {
    1054, 1018, 1044, 1068, 1048, 1019, 1059, 1028, 1075, 1035, 1046, 1082,
    1051, 1022, 1066, 1061, 1030, 1056, 1025, 1053, 1017, 1072, 1031, 1050,
    1021, 1060, 1029, 1047, 1084, 1076, 1036, 1073, 1032, 1058, 1027, 1077,
    1037, 1052, 1023, 1074, 1033, 1049, 1020, 1045, 1070, 1057, 1026, 1034,
    1062, 1042, 1064, 1055, 1024, 1043, 1091, 1090, 1087, 1086, 1078, 1038,
    1079, 1039, 1081, 1041, 1093, 1092, 1080, 1040, 1099, 1098, 1095, 1094,
    1097, 1096, 1089, 1088,
};
// clang-format on

constexpr std::array<int, 2 * Page::RowCount> BoundIds()
{
    std::array<int, 2 * Page::RowCount> ids{};
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        ids[2 * i] = kRows[i].masteryId;
        ids[2 * i + 1] = kRows[i].levelId;
    }
    return ids;
}
static_assert(ExchangeOrder::Lists(kExchangeOrder, BoundIds()));

// Layout.
constexpr int kColumnCount = 3;
constexpr int kLevelWidth = 58;
constexpr int kColumnGap = 22;
constexpr int kCellGap = 6;
constexpr int kRowGap = 4;

} // namespace

CVelkarPage2::CVelkarPage2(SaveGame& save, int n) : CharacterPage(QStringLiteral("Skills"), save, n)
{
    std::vector<DataExchange::Binding> bindings;
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        const Row& row = kRows[i];
        bindings.push_back(DataExchange::Choice(row.masteryId, masteries_[i]));
        bindings.push_back(DataExchange::Range(row.levelId, levels_[i], LevelMinimum, LevelMaximum));
    }
    Exchange().SetBindings(ExchangeOrder::Sort(std::move(bindings), kExchangeOrder));
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
        ControlId::Give(level, row.levelId);
        level->SetSpinId(row.spinId);
        level->SetRange(LevelMinimum, LevelMaximum);
        level->setFixedWidth(kLevelWidth);
        auto* mastery = new QComboBox;
        ControlId::Give(mastery, row.masteryId);
        for (const std::string_view name : Vocabulary::MasteryNames)
            mastery->addItem(TextCodec::OwnWord(name));
        auto* label = new QLabel(QString::fromLatin1(row.label));
        label->setBuddy(level);
        Mnemonics::GiveWay(*label);

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
        levels_[i] = SkillWord::Level(word);
        masteries_[i] = SkillWord::Mastery(word);
    }
    Exchange().Show();
}

void CVelkarPage2::StoreToModel()
{
    // A failed check stops the reading; the rows are written all the same.
    Exchange().Read();
    SaveGame& game = Game();
    std::vector<int> unstored;
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        // A row nobody changed keeps its word as the game wrote it, odd bits and all.
        if (!Exchange().Changed(kRows[i].levelId) && !Exchange().Changed(kRows[i].masteryId))
            continue;
        // Only a failed range check leaves a level outside 0..63: that row keeps its word,
        // and its new mastery waits for the corrected level.
        if (levels_[i] < LevelMinimum || levels_[i] > LevelMaximum) {
            unstored.insert(unstored.end(), {kRows[i].levelId, kRows[i].masteryId});
            continue;
        }
        game.SetSkill(Number(), kRows[i].slot, SkillWord::Compose(levels_[i], masteries_[i]));
    }
    Exchange().Remember(unstored);
}
