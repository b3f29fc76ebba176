#include "dialogs/CVelkarPage6.h"

#include "dialogs/RankedBindings.h"
#include "ui/NumberBox.h"

#include "GameTime.h"
#include "SaveGame.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

using Page = CVelkarPage6;

enum Box { Mild, Medium, Severe, Other, BoxCount };

// The group boxes: title and the column they stand in, top to bottom in table order.
struct GroupBox {
    const char* title;
    int column;
};
constexpr std::array<GroupBox, BoxCount> kBoxes = {{
    {"Mild (Green)", 0},
    {"Medium (Yellow)", 1},
    {"Severe (Red)", 1},
    {"Other", 0},
}};

// One condition: its controls, its entry in the record's condition table, and its place in
// the alphabetical order of the model's field names, which sets the exchange order (all
// days and hours fields first, then the check boxes).
struct Row {
    const char* label;
    Box box;
    int checkId;
    int daysId;
    int daysSpinId;
    int hoursId;
    int hoursSpinId;
    int entry;
    int rank;
};

// In layout order.
constexpr std::array<Row, Page::RowCount> kRows = {{
    {"Cursed:", Mild, 1208, 1106, 1109, 1107, 1110, 0, 3},
    {"Weak:", Mild, 1209, 1108, 1111, 1112, 1113, 1, 17},
    {"Afraid:", Mild, 1210, 1114, 1115, 1116, 1117, 3, 1},
    {"Drunk:", Mild, 1211, 1118, 1119, 1120, 1121, 4, 8},
    {"Insane:", Mild, 1212, 1122, 1123, 1124, 1125, 5, 10},
    {"Poison:", Mild, 1213, 1126, 1127, 1128, 1129, 6, 12},
    {"Diseased:", Mild, 1214, 1130, 1131, 1132, 1133, 7, 5},
    {"Asleep:", Medium, 1216, 1134, 1135, 1136, 1137, 2, 2},
    {"Poison:", Medium, 1217, 1138, 1139, 1140, 1141, 8, 13},
    {"Diseased:", Medium, 1218, 1142, 1143, 1144, 1145, 9, 6},
    {"Paralyzed:", Medium, 1219, 1146, 1147, 1148, 1149, 12, 11},
    {"Unconscious:", Medium, 1220, 1150, 1151, 1152, 1153, 13, 16},
    {"Poison:", Severe, 1221, 1154, 1155, 1156, 1157, 10, 14},
    {"Diseased:", Severe, 1222, 1158, 1159, 1160, 1161, 11, 7},
    {"Dead:", Severe, 1223, 1162, 1163, 1164, 1165, 14, 4},
    {"Stoned:", Severe, 1224, 1166, 1167, 1168, 1169, 15, 15},
    {"Eradicated:", Severe, 1225, 1170, 1171, 1172, 1173, 16, 9},
    {"Zombie:", Other, 1215, 1174, 1175, 1176, 1177, 17, 18},
}};

constexpr std::array<int, Page::RowCount> Ranks()
{
    std::array<int, Page::RowCount> ranks{};
    for (std::size_t i = 0; i < kRows.size(); ++i)
        ranks[i] = kRows[i].rank;
    return ranks;
}
static_assert(RankedBindings::ArePermutation(Ranks()));

constexpr std::array<int, Page::RowCount> EntryOrder()
{
    std::array<int, Page::RowCount> order{};
    for (std::size_t i = 0; i < kRows.size(); ++i)
        order[static_cast<std::size_t>(kRows[i].entry)] = static_cast<int>(i);
    return order;
}
constexpr std::array<int, Page::RowCount> kEntryOrder = EntryOrder();

// Layout.
constexpr int kColumnCount = 2;
constexpr int kNumberWidth = 72;
constexpr int kColumnGap = 12;
constexpr int kRowGap = 4;

NumberBox* MakeNumber(int id, int spinId)
{
    auto* box = new NumberBox(NumberBox::Keys::DigitsAndSign);
    box->setObjectName(QString::number(id));
    box->SetSpinId(spinId);
    box->SetRange(Page::SpinMinimum, Page::SpinMaximum);
    box->setFixedWidth(kNumberWidth);
    return box;
}

} // namespace

CVelkarPage6::CVelkarPage6(SaveGame& save, int n) : CharacterPage(QStringLiteral("Condition"), save, n)
{
    RankedBindings bindings;
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        const Row& row = kRows[i];
        bindings.Add(2 * row.rank - 1, DataExchange::Integer(row.daysId, days_[i]));
        bindings.Add(2 * row.rank, DataExchange::Integer(row.hoursId, hours_[i]));
        bindings.Add(2 * RowCount + row.rank, DataExchange::Choice(row.checkId, present_[i]));
    }
    Exchange().SetBindings(bindings.Sorted());
}

void CVelkarPage6::OnCreate()
{
    auto* page = new QHBoxLayout(this);
    page->setSpacing(kColumnGap);
    std::array<QVBoxLayout*, kColumnCount> columns{};
    for (QVBoxLayout*& column : columns) {
        column = new QVBoxLayout;
        page->addLayout(column);
    }
    std::array<QGridLayout*, BoxCount> grids{};
    for (std::size_t b = 0; b < kBoxes.size(); ++b) {
        auto* box = new QGroupBox(QString::fromLatin1(kBoxes[b].title));
        grids[b] = new QGridLayout(box);
        grids[b]->setVerticalSpacing(kRowGap);
        grids[b]->setColumnStretch(1, 1);
        columns[static_cast<std::size_t>(kBoxes[b].column)]->addWidget(box);
    }
    for (QVBoxLayout* column : columns)
        column->addStretch(1);

    std::array<int, BoxCount> used{};
    for (const Row& row : kRows) {
        QGridLayout* grid = grids[static_cast<std::size_t>(row.box)];
        const int line = used[static_cast<std::size_t>(row.box)]++;
        auto* check = new QCheckBox;
        check->setObjectName(QString::number(row.checkId));
        check->setAccessibleName(QString::fromLatin1(row.label));
        auto* label = new QLabel(QString::fromLatin1(row.label));
        label->setBuddy(check);
        grid->addWidget(check, line, 0);
        grid->addWidget(label, line, 1);
        grid->addWidget(MakeNumber(row.daysId, row.daysSpinId), line, 2);
        grid->addWidget(new QLabel(QStringLiteral("Days")), line, 3);
        grid->addWidget(MakeNumber(row.hoursId, row.hoursSpinId), line, 4);
        grid->addWidget(new QLabel(QStringLiteral("Hr")), line, 5);
    }
}

void CVelkarPage6::LoadFromModel()
{
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        GameDuration elapsed;
        present_[i] = Game().GetCondition(Number(), kRows[i].entry, elapsed) != 0 ? 1 : 0;
        days_[i] = present_[i] != 0 ? elapsed.days : 0;
        hours_[i] = present_[i] != 0 ? elapsed.hours : 0;
    }
    Exchange().Show();
}

void CVelkarPage6::StoreToModel()
{
    // A field that is no number stops the reading; what was read is written all the same.
    Exchange().Read();
    SaveGame& game = Game();
    for (const int i : kEntryOrder) {
        const auto r = static_cast<std::size_t>(i);
        const Row& row = kRows[r];
        // Untouched, a condition keeps its start to the tick: rewriting it from the days and
        // hours shown would move it by up to an hour at every visit.
        if (!Exchange().Changed(row.checkId) && !Exchange().Changed(row.daysId) && !Exchange().Changed(row.hoursId))
            continue;
        const int entry = row.entry;
        const GameDuration span{days_[r], hours_[r], 0};
        game.SetCondition(Number(), entry, present_[r], span);
        // A start that lands on 0 would read as "not afflicted" and drop a ticked condition:
        // start a minute further out instead, which the days and hours shown do not reveal.
        GameDuration check;
        if (present_[r] != 0 && game.GetCondition(Number(), entry, check) == 0)
            game.SetCondition(Number(), entry, 1, {span.days, span.hours, DurationToTicks(span) < 0 ? -1 : 1});
    }
    Exchange().Remember();
}
