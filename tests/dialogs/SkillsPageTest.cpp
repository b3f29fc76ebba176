#include "tests/dialogs/PageFixture.h"
#include "tests/support/TranscribedLayout.h"

#include "dialogs/CVelkarPage2.h"
#include "ui/NumberBox.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

namespace {

struct Skill {
    const char* label;
    int level;
    int spin;
    int mastery;
    int slot;
};

// The rows as the page lays them out, column by column.
const std::vector<Skill> kSkills = {
    {"Staff:", 1062, 1063, 1034, 0},         {"Sword:", 1064, 1065, 1042, 1},
    {"Dagger:", 1066, 1067, 1043, 2},        {"Axe:", 1068, 1069, 1044, 3},
    {"Spear:", 1070, 1071, 1045, 4},         {"Bow:", 1082, 1083, 1046, 5},
    {"Mace:", 1084, 1085, 1047, 6},          {"Blaster:", 1019, 1116, 1048, 7},
    {"Shield:", 1020, 1117, 1049, 8},        {"Leather:", 1021, 1118, 1050, 9},
    {"Chain", 1022, 1119, 1051, 10},         {"Plate:", 1023, 1120, 1052, 11},
    {"Fire:", 1017, 1114, 1053, 12},         {"Air:", 1018, 1115, 1054, 13},
    {"Water:", 1024, 1121, 1055, 14},        {"Earth:", 1025, 1122, 1056, 15},
    {"Spirit:", 1026, 1123, 1057, 16},       {"Mind:", 1027, 1124, 1058, 17},
    {"Body:", 1028, 1125, 1059, 18},         {"Light:", 1029, 1126, 1060, 19},
    {"Dark:", 1030, 1127, 1061, 20},         {"Dark Elf:", 1094, 1142, 1095, 21},
    {"Vampire:", 1096, 1143, 1097, 22},      {"Dragon:", 1098, 1144, 1099, 23},
    {"Identify:", 1031, 1128, 1072, 24},     {"Merchant:", 1032, 1129, 1073, 25},
    {"Repair:", 1033, 1130, 1074, 26},       {"Bodybuilding:", 1035, 1131, 1075, 27},
    {"Meditation:", 1036, 1132, 1076, 28},   {"Perception:", 1037, 1133, 1077, 29},
    {"Regeneration:", 1088, 1139, 1089, 30}, {"Disarm:", 1038, 1134, 1078, 31},
    {"Dodging:", 1039, 1135, 1079, 32},      {"Unarmed:", 1040, 1136, 1080, 33},
    {"ID Monster:", 1041, 1137, 1081, 34},   {"Armsmaster:", 1086, 1138, 1087, 35},
    {"Alchemy:", 1090, 1140, 1091, 37},      {"Learning:", 1092, 1141, 1093, 38},
};
constexpr std::array<int, 3> kColumnSizes = {12, 12, 14};

const Skill& BySlot(int slot)
{
    for (const Skill& skill : kSkills) {
        if (skill.slot == slot)
            return skill;
    }
    throw std::out_of_range("no such skill");
}

enum Mastery { Novice, Expert, Master, Grand };

class SkillsPageTest : public PageFixture {
protected:
    static constexpr int SkillsTab = TabIndex(SheetTab::Skills);
    SkillsPageTest() : PageFixture(SkillsTab) {}

    QString Level(int slot) const { return On<NumberBox>(BySlot(slot).level)->Text(); }
    QString MasteryText(int slot) const { return On<QComboBox>(BySlot(slot).mastery)->currentText(); }
    void TypeLevel(int slot, const QString& text) { TypeInto(BySlot(slot).level, text); }
    void ChooseMastery(int slot, Mastery mastery)
    {
        auto* list = On<QComboBox>(BySlot(slot).mastery);
        QTest::keyClick(list, Qt::Key_Home);
        for (int i = 0; i < mastery; ++i)
            QTest::keyClick(list, Qt::Key_Down);
    }
    int Word(int slot) const { return save.GetSkill(N, slot); }
    // Slot 36, between Armsmaster and Alchemy, has no skill and no operation; it is reached
    // through the file.
    void PutUnusedWord(std::string_view word) { PatchFile(TranscribedLayout::At("SkillArmsmaster", N) + 2, word); }
};

} // namespace

TEST_F(SkillsPageTest, LaysOutThirtyEightRowsInThreeColumns)
{
    OpenPage();
    const QStringList masteries = {"Novice", "Expert", "Master", "Grand"};
    std::size_t row = 0;
    int columnLeft = -1;
    for (const int size : kColumnSizes) {
        int x = -1;
        int top = -1;
        for (int i = 0; i < size; ++i, ++row) {
            const Skill& skill = kSkills[row];
            SCOPED_TRACE(skill.label);
            ExpectNumberBoxes({{skill.level, skill.spin, skill.label, 0, 63}});
            const auto* level = On<NumberBox>(skill.level);
            const auto* list = On<QComboBox>(skill.mastery);
            ASSERT_NE(level, nullptr);
            ASSERT_NE(list, nullptr);
            QStringList entries;
            for (int e = 0; e < list->count(); ++e)
                entries.append(list->itemText(e));
            EXPECT_EQ(entries, masteries);

            // Same column as the row above, and below it; the list right of the box.
            const QPoint at = level->mapTo(&Page(), QPoint(0, 0));
            if (x < 0)
                x = at.x();
            EXPECT_EQ(at.x(), x);
            EXPECT_GT(at.y(), top);
            EXPECT_GT(list->mapTo(&Page(), QPoint(0, 0)).x(), at.x() + level->width() - 1);
            top = at.y();
        }
        EXPECT_GT(x, columnLeft);
        columnLeft = x;
    }
    ExpectNothingClipped();
}

TEST_F(SkillsPageTest, ShowsWordsAsLevelAndMasteryAndRewritesOnlyEditedRows)
{
    struct Case {
        int slot;
        int word;
        QString level;
        QString mastery;
        int edited; // the word once the level is one up or down
    };
    const std::vector<Case> cases = {
        {0, 0x0105, "5", "Grand", 0x0104},
        // Expert and Master bits: the higher one counts.
        {1, 0x00C7, "7", "Master", 0x0086},
        {2, 0x0000, "0", "Novice", 0x0001},
        // Bits above the mastery are cleared.
        {3, 0x0205, "5", "Novice", 0x0004},
        {4, 0x01B8, "56", "Grand", 0x0139},
        {5, 0x0180, "0", "Grand", 0x0101},
        {6, 0x0040, "0", "Expert", 0x0041},
        {7, 0x008C, "12", "Master", 0x008D},
        {8, -1, "63", "Grand", 0x013E},
        {38, 0x7FFF, "63", "Grand", 0x013E},
    };
    Prepare([&](SaveGame& s) {
        for (const Case& c : cases)
            s.SetSkill(N, c.slot, c.word);
    });
    PutUnusedWord("\xEF\xBE");
    OpenPage();
    for (const Case& c : cases) {
        EXPECT_EQ(Level(c.slot), c.level) << c.slot;
        EXPECT_EQ(MasteryText(c.slot), c.mastery) << c.slot;
    }
    for (const Case& c : cases)
        TypeLevel(c.slot, QString::number(c.level.toInt() ^ 1));
    Click(QDialogButtonBox::Ok);
    EXPECT_EQ(FileBytes(), Expected([&](SaveGame& s) {
                  for (const Case& c : cases)
                      s.SetSkill(N, c.slot, c.edited);
              }));
}

TEST_F(SkillsPageTest, TypedLevelsAndChosenMasteriesAreStoredAsWords)
{
    Prepare([](SaveGame& s) { s.SetSkillDagger(N, 0x0105); });
    OpenPage();
    TypeLevel(13, "10");
    ChooseMastery(13, Grand);
    TypeLevel(1, "1x-2"); // digits only
    EXPECT_EQ(Level(1), "12");
    ChooseMastery(1, Master);
    TypeLevel(2, "0");
    ChooseMastery(2, Novice);
    TypeLevel(35, "63");
    ChooseMastery(35, Expert);
    Leave();
    EXPECT_EQ(save.GetSkillAir(N), 0x010A);
    EXPECT_EQ(save.GetSkillSword(N), 0x008C);
    EXPECT_EQ(save.GetSkillDagger(N), 0);
    EXPECT_EQ(save.GetSkillArmsmaster(N), 0x007F);
    Return();
    EXPECT_EQ(Level(13), "10");
    EXPECT_EQ(MasteryText(13), "Grand");
}

TEST_F(SkillsPageTest, ALevelAboveSixtyThreeIsRefusedAndItsRowKeepsItsWord)
{
    Prepare([](SaveGame& s) { s.SetSkillStaff(N, 0x0105); });
    OpenPage();
    ChooseMastery(0, Expert); // Staff's list: read just before its level box
    TypeLevel(0, "64");
    Leave();
    EXPECT_EQ(messages.Shown(), QStringList{"Please enter an integer between 0 and 63."});
    EXPECT_EQ(sheet->CurrentIndex(), 2);
    auto* staff = On<NumberBox>(BySlot(0).level);
    EXPECT_TRUE(staff->hasFocus());
    EXPECT_EQ(staff->findChild<QLineEdit*>()->selectedText(), "64");
    EXPECT_EQ(save.GetSkillStaff(N), 0x0105);

    // OK goes no further while the box is wrong, and nothing reaches the file.
    Click(QDialogButtonBox::Ok);
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_EQ(save.GetSkillStaff(N), 0x0105);
    EXPECT_EQ(FileBytes(), opened);

    // Back to the level it had: the mastery chosen with the refused level still counts.
    messages.Clear();
    TypeLevel(0, "5");
    Leave();
    EXPECT_TRUE(messages.Shown().isEmpty());
    EXPECT_EQ(sheet->CurrentIndex(), StatsTab);
    EXPECT_EQ(save.GetSkillStaff(N), 0x0045);
}

TEST_F(SkillsPageTest, ReadsItsFieldsInTheirExchangeOrder)
{
    CheckExchangeOrder("skills", true);
}
