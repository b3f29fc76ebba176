#include "tests/dialogs/PageFixture.h"
#include "tests/ui/UiTesting.h"

#include "dialogs/CVelkarPage6.h"
#include "ui/NumberBox.h"

#include "model/GameTime.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QTest>

#include <algorithm>

namespace {

struct Condition {
    const char* label;
    const char* group;
    int check;
    int days;
    int daysSpin;
    int hours;
    int hoursSpin;
    int entry;
};

// In layout order.
const std::vector<Condition> kConditions = {
    {"Cursed:", "Mild (Green)", 1208, 1106, 1109, 1107, 1110, 0},
    {"Weak:", "Mild (Green)", 1209, 1108, 1111, 1112, 1113, 1},
    {"Afraid:", "Mild (Green)", 1210, 1114, 1115, 1116, 1117, 3},
    {"Drunk:", "Mild (Green)", 1211, 1118, 1119, 1120, 1121, 4},
    {"Insane:", "Mild (Green)", 1212, 1122, 1123, 1124, 1125, 5},
    {"Poison:", "Mild (Green)", 1213, 1126, 1127, 1128, 1129, 6},
    {"Diseased:", "Mild (Green)", 1214, 1130, 1131, 1132, 1133, 7},
    {"Asleep:", "Medium (Yellow)", 1216, 1134, 1135, 1136, 1137, 2},
    {"Poison:", "Medium (Yellow)", 1217, 1138, 1139, 1140, 1141, 8},
    {"Diseased:", "Medium (Yellow)", 1218, 1142, 1143, 1144, 1145, 9},
    {"Paralyzed:", "Medium (Yellow)", 1219, 1146, 1147, 1148, 1149, 12},
    {"Unconscious:", "Medium (Yellow)", 1220, 1150, 1151, 1152, 1153, 13},
    {"Poison:", "Severe (Red)", 1221, 1154, 1155, 1156, 1157, 10},
    {"Diseased:", "Severe (Red)", 1222, 1158, 1159, 1160, 1161, 11},
    {"Dead:", "Severe (Red)", 1223, 1162, 1163, 1164, 1165, 14},
    {"Stoned:", "Severe (Red)", 1224, 1166, 1167, 1168, 1169, 15},
    {"Eradicated:", "Severe (Red)", 1225, 1170, 1171, 1172, 1173, 16},
    {"Zombie:", "Other", 1215, 1174, 1175, 1176, 1177, 17},
};

enum Entry { Cursed = 0, Weak = 1, Asleep = 2, Afraid = 3, PoisonYellow = 8, Dead = 14, Zombie = 17 };

const Condition& ByEntry(int entry)
{
    return *std::find_if(kConditions.begin(), kConditions.end(), [&](const Condition& c) { return c.entry == entry; });
}

class ConditionPageTest : public PageFixture {
protected:
    static constexpr int ConditionTab = TabIndex(SheetTab::Condition);
    ConditionPageTest() : PageFixture(ConditionTab) {}

    QCheckBox* Check(int entry) const { return On<QCheckBox>(ByEntry(entry).check); }
    QString Days(int entry) const { return On<NumberBox>(ByEntry(entry).days)->Text(); }
    QString Hours(int entry) const { return On<NumberBox>(ByEntry(entry).hours)->Text(); }
    void Tick(int entry) { ClickBox(ByEntry(entry).check); }
    void Enter(int entry, const QString& days, const QString& hours)
    {
        TypeInto(ByEntry(entry).days, days);
        TypeInto(ByEntry(entry).hours, hours);
    }
    // 0 when the character is free of it, else 1 and the elapsed time.
    std::pair<int, GameDuration> Stored(int entry) const
    {
        GameDuration elapsed{-99, -99, -99};
        const int present = save.GetCondition(N, entry, elapsed);
        return {present, elapsed};
    }
};

const GameDuration kUntouched{-99, -99, -99};

} // namespace

TEST_F(ConditionPageTest, LaysOutEighteenRowsUnderFourGroupBoxes)
{
    OpenPage();
    for (const Condition& c : kConditions) {
        SCOPED_TRACE(c.check);
        const QCheckBox* check = On<QCheckBox>(c.check);
        ASSERT_NE(check, nullptr);
        EXPECT_TRUE(check->text().isEmpty());
        EXPECT_FALSE(check->isChecked());
        EXPECT_EQ(LabelOf(c.check), c.label);
        const auto* group = qobject_cast<const QGroupBox*>(check->parentWidget());
        ASSERT_NE(group, nullptr);
        EXPECT_EQ(group->title(), c.group);
        ExpectNumberBoxes({{c.days, c.daysSpin}, {c.hours, c.hoursSpin}});
        for (const int id : {c.days, c.hours}) {
            const NumberBox* box = On<NumberBox>(id);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->parentWidget(), group);
            EXPECT_EQ(box->Text(), "0");
            // The widest value fits in the box.
            EXPECT_GE(box->width(), box->fontMetrics().horizontalAdvance("-16383"));
        }
        EXPECT_LT(On<NumberBox>(c.days)->x(), On<NumberBox>(c.hours)->x());
    }
    QStringList captions;
    for (const QLabel* label : Page().findChildren<QLabel*>()) {
        if (label->buddy() == nullptr)
            captions.append(label->text());
    }
    EXPECT_EQ(captions.count("Days"), 18);
    EXPECT_EQ(captions.count("Hr"), 18);
    ExpectNothingClipped();
}

TEST_F(ConditionPageTest, ShowsTheTimeElapsedAndStoresAnEditInWholeHours)
{
    Prepare([](SaveGame& s) {
        s.SetConditionWeak(N, 1, {1, 5, 30});
        s.SetConditionAfraid(N, 1, {0, -3, 0}); // begins three hours from now
    });
    OpenPage();
    EXPECT_TRUE(Check(Weak)->isChecked());
    EXPECT_EQ(Days(Weak), "1");
    EXPECT_EQ(Hours(Weak), "5");
    EXPECT_TRUE(Check(Afraid)->isChecked());
    EXPECT_EQ(Days(Afraid), "0");
    EXPECT_EQ(Hours(Afraid), "-3");
    Enter(Weak, "2", "5");
    Click(QDialogButtonBox::Ok);
    EXPECT_EQ(Stored(Weak), std::pair(1, GameDuration{2, 5, 0}));
    EXPECT_EQ(FileBytes(), Expected([](SaveGame& s) { s.SetConditionWeak(N, 1, {2, 5, 0}); }));
}

TEST_F(ConditionPageTest, TickedConditionsStartTheEnteredSpanBeforeNow)
{
    OpenPage();
    Tick(Dead);
    Tick(PoisonYellow);
    Enter(PoisonYellow, "0", "30");
    Tick(Asleep);
    Enter(Asleep, "-2x", "0"); // digits and a sign
    EXPECT_EQ(Days(Asleep), "-2");
    Enter(Cursed, "4", "4"); // not ticked: the fields do not count
    Leave();
    EXPECT_EQ(Stored(Dead), std::pair(1, GameDuration{0, 0, 0}));
    EXPECT_EQ(Stored(PoisonYellow), std::pair(1, GameDuration{1, 6, 0}));
    EXPECT_EQ(Stored(Asleep), std::pair(1, GameDuration{-2, 0, 0}));
    EXPECT_EQ(Stored(Cursed), std::pair(0, kUntouched));
    Return();
    EXPECT_EQ(Days(PoisonYellow), "1");
    EXPECT_EQ(Hours(PoisonYellow), "6");
    EXPECT_EQ(Days(Asleep), "-2");
    EXPECT_EQ(Hours(Asleep), "0");
    EXPECT_EQ(Days(Cursed), "0");
    Click(QDialogButtonBox::Ok);
    EXPECT_EQ(FileBytes(), Expected([](SaveGame& s) {
                  s.SetConditionDead(N, 1, {});
                  s.SetConditionPoisonYellow(N, 1, {1, 6, 0});
                  s.SetConditionAsleep(N, 1, {-2, 0, 0});
              }));
}

TEST_F(ConditionPageTest, EachRowWritesItsOwnEntry)
{
    Prepare([](SaveGame& s) { s.SetConditionCursed(N, 1, {9, 9, 0}); });
    OpenPage();
    Tick(Cursed); // clears it
    for (std::size_t i = 0; i < kConditions.size(); ++i) {
        if (kConditions[i].entry != Cursed)
            Tick(kConditions[i].entry);
        Enter(kConditions[i].entry, QString::number(1000 * (i + 1)), "2"); // beyond the spin's range too
    }
    Click(QDialogButtonBox::Apply);
    EXPECT_EQ(FileBytes(), Expected([](SaveGame& s) {
                  for (std::size_t i = 0; i < kConditions.size(); ++i) {
                      const int entry = kConditions[i].entry;
                      s.SetCondition(N, entry, entry == Cursed ? 0 : 1, {1000 * (static_cast<int>(i) + 1), 2, 0});
                  }
              }));
    Leave();
    Return();
    EXPECT_FALSE(Check(Cursed)->isChecked());
    EXPECT_EQ(Days(Cursed), "0");
    EXPECT_EQ(Hours(Cursed), "0");
}

TEST_F(ConditionPageTest, ATickedConditionWhoseStartFallsOnZeroIsKept)
{
    // A start of 0 means "not afflicted": the page starts such a condition a minute earlier.
    Prepare([](SaveGame& s) { s.SetTime({0, 0, 0, 0, 1172}); });
    OpenPage();
    Tick(Dead);
    Leave();
    EXPECT_EQ(Stored(Dead), std::pair(1, GameDuration{0, 0, 1}));
    Return();
    EXPECT_TRUE(Check(Dead)->isChecked());
    EXPECT_EQ(Days(Dead), "0");
    EXPECT_EQ(Hours(Dead), "0");

    Leave();
    save.SetTime({0, 0, 2, 0, 1172});
    Return();
    EXPECT_EQ(Days(Dead), "2");
    Tick(Zombie);
    Enter(Zombie, "2", "0");
    Leave();
    // Both now start two days before the clock, at 0, and so a minute earlier.
    EXPECT_EQ(Stored(Zombie), std::pair(1, GameDuration{2, 0, 1}));
    EXPECT_EQ(Stored(Dead), std::pair(1, GameDuration{2, 0, 1}));
    Return();
    EXPECT_EQ(Days(Zombie), "2");
    EXPECT_EQ(Hours(Zombie), "0");
}

TEST_F(ConditionPageTest, ReadsItsFieldsInTheirExchangeOrder)
{
    // Every condition ticked, so that its days and hours count.
    Prepare([](SaveGame& s) {
        for (const Condition& c : kConditions)
            s.SetCondition(N, c.entry, 1, {c.entry + 1, 2, 0});
    });
    CheckExchangeOrder("condition", true);
}

TEST_F(ConditionPageTest, TabWalksTheColumnsAndAConditionsTextTicksItsBox)
{
    OpenPage();
    // Mild, then Zombie below it, then Medium and Severe: each row's box, days and hours.
    std::vector<int> checks;
    QWidget* at = On<QWidget>(1208);
    for (int step = 0; step < 3 * 18; ++step, at = at->nextInFocusChain()) {
        while (at->focusPolicy() == Qt::NoFocus || !at->isEnabled() || at->focusProxy() != nullptr)
            at = at->nextInFocusChain();
        if (qobject_cast<QCheckBox*>(at) != nullptr)
            checks.push_back(at->objectName().toInt());
    }
    EXPECT_EQ(checks, (std::vector<int>{1208, 1209, 1210, 1211, 1212, 1213, 1214, 1215, 1216, 1217, 1218, 1219, 1220,
                                        1221, 1222, 1223, 1224, 1225}));

    QLabel* label = UiTesting::LabelOf(Page(), On<QWidget>(1209));
    ASSERT_NE(label, nullptr);
    QTest::mouseClick(label, Qt::LeftButton);
    EXPECT_TRUE(Check(Weak)->isChecked());
}
