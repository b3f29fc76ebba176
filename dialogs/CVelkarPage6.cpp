// CVelkarPage6, the sheet's "Condition" tab: the conditions and how long each has lasted.

#include "dialogs/CVelkarPage6.h"

#include "dialogs/ExchangeOrder.h"
#include "ui/BuddyLabel.h"
#include "ui/ControlId.h"
#include "ui/NumberBox.h"

#include "model/GameTime.h"
#include "model/SaveGame.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

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

// One condition: its controls and its entry in the record's condition table.
struct Row {
    const char* label = nullptr;
    Box box = Mild;
    int checkId = 0;
    int daysId = 0;
    int daysSpinId = 0;
    int hoursId = 0;
    int hoursSpinId = 0;
    int entry = 0;
};

// In layout order.
// clang-format off
constexpr std::array<Row, Page::RowCount> kRows = {{
    {.label = "Cursed:", .box = Mild, .checkId = 1208,
     .daysId = 1106, .daysSpinId = 1109, .hoursId = 1107, .hoursSpinId = 1110, .entry = 0},
    {.label = "Weak:", .box = Mild, .checkId = 1209,
     .daysId = 1108, .daysSpinId = 1111, .hoursId = 1112, .hoursSpinId = 1113, .entry = 1},
    {.label = "Afraid:", .box = Mild, .checkId = 1210,
     .daysId = 1114, .daysSpinId = 1115, .hoursId = 1116, .hoursSpinId = 1117, .entry = 3},
    {.label = "Drunk:", .box = Mild, .checkId = 1211,
     .daysId = 1118, .daysSpinId = 1119, .hoursId = 1120, .hoursSpinId = 1121, .entry = 4},
    {.label = "Insane:", .box = Mild, .checkId = 1212,
     .daysId = 1122, .daysSpinId = 1123, .hoursId = 1124, .hoursSpinId = 1125, .entry = 5},
    {.label = "Poison:", .box = Mild, .checkId = 1213,
     .daysId = 1126, .daysSpinId = 1127, .hoursId = 1128, .hoursSpinId = 1129, .entry = 6},
    {.label = "Diseased:", .box = Mild, .checkId = 1214,
     .daysId = 1130, .daysSpinId = 1131, .hoursId = 1132, .hoursSpinId = 1133, .entry = 7},
    {.label = "Asleep:", .box = Medium, .checkId = 1216,
     .daysId = 1134, .daysSpinId = 1135, .hoursId = 1136, .hoursSpinId = 1137, .entry = 2},
    {.label = "Poison:", .box = Medium, .checkId = 1217,
     .daysId = 1138, .daysSpinId = 1139, .hoursId = 1140, .hoursSpinId = 1141, .entry = 8},
    {.label = "Diseased:", .box = Medium, .checkId = 1218,
     .daysId = 1142, .daysSpinId = 1143, .hoursId = 1144, .hoursSpinId = 1145, .entry = 9},
    {.label = "Paralyzed:", .box = Medium, .checkId = 1219,
     .daysId = 1146, .daysSpinId = 1147, .hoursId = 1148, .hoursSpinId = 1149, .entry = 12},
    {.label = "Unconscious:", .box = Medium, .checkId = 1220,
     .daysId = 1150, .daysSpinId = 1151, .hoursId = 1152, .hoursSpinId = 1153, .entry = 13},
    {.label = "Poison:", .box = Severe, .checkId = 1221,
     .daysId = 1154, .daysSpinId = 1155, .hoursId = 1156, .hoursSpinId = 1157, .entry = 10},
    {.label = "Diseased:", .box = Severe, .checkId = 1222,
     .daysId = 1158, .daysSpinId = 1159, .hoursId = 1160, .hoursSpinId = 1161, .entry = 11},
    {.label = "Dead:", .box = Severe, .checkId = 1223,
     .daysId = 1162, .daysSpinId = 1163, .hoursId = 1164, .hoursSpinId = 1165, .entry = 14},
    {.label = "Stoned:", .box = Severe, .checkId = 1224,
     .daysId = 1166, .daysSpinId = 1167, .hoursId = 1168, .hoursSpinId = 1169, .entry = 15},
    {.label = "Eradicated:", .box = Severe, .checkId = 1225,
     .daysId = 1170, .daysSpinId = 1171, .hoursId = 1172, .hoursSpinId = 1173, .entry = 16},
    {.label = "Zombie:", .box = Other, .checkId = 1215,
     .daysId = 1174, .daysSpinId = 1175, .hoursId = 1176, .hoursSpinId = 1177, .entry = 17},
}};
// clang-format on

// The exchange order goes by the alphabetical order of the model's field names (Afraid,
// Asleep, Cursed, ...): every condition's days and hours first, then the check boxes.
constexpr std::array<int, Page::RowCount> kNameOrder = {
    1210, 1216, 1208, 1223, 1214, 1218, 1222, 1211, 1225, 1212, 1219, 1213, 1217, 1221, 1224, 1220, 1209, 1215,
};

static_assert(ExchangeOrder::Lists(kNameOrder, ExchangeOrder::IdsOf(kRows, &Row::checkId)));

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
    ControlId::Give(box, id);
    box->SetSpinId(spinId);
    box->SetRange(-NumberBox::UpDownLimit, NumberBox::UpDownLimit);
    box->setFixedWidth(kNumberWidth);
    return box;
}

} // namespace

CVelkarPage6::CVelkarPage6(SaveGame& save, int n) : CharacterPage(QStringLiteral("Condition"), save, n)
{
    std::vector<DataExchange::Binding> bindings;
    std::vector<int> order;
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        const Row& row = kRows[i];
        bindings.push_back(DataExchange::Integer(row.daysId, days_[i]));
        bindings.push_back(DataExchange::Integer(row.hoursId, hours_[i]));
        bindings.push_back(DataExchange::Choice(row.checkId, present_[i]));
    }
    const auto byCheck = [](int checkId) {
        return *std::find_if(kRows.begin(), kRows.end(), [checkId](const Row& row) { return row.checkId == checkId; });
    };
    for (const int checkId : kNameOrder)
        order.insert(order.end(), {byCheck(checkId).daysId, byCheck(checkId).hoursId});
    order.insert(order.end(), kNameOrder.begin(), kNameOrder.end());
    Exchange().SetBindings(ExchangeOrder::Sort(std::move(bindings), order));
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
        ControlId::Give(check, row.checkId);
        check->setAccessibleName(QString::fromLatin1(row.label));
        auto* label = new BuddyLabel(QString::fromLatin1(row.label));
        label->setBuddy(check);
        grid->addWidget(check, line, 0);
        grid->addWidget(label, line, 1);
        grid->addWidget(MakeNumber(row.daysId, row.daysSpinId), line, 2);
        grid->addWidget(new QLabel(QStringLiteral("Days")), line, 3);
        grid->addWidget(MakeNumber(row.hoursId, row.hoursSpinId), line, 4);
        grid->addWidget(new QLabel(QStringLiteral("Hr")), line, 5);
    }
    // Tab walks the columns: the mild conditions, then Zombie below them, then the medium and
    // severe ones (the rows are built box by box).
    QWidget* previous = nullptr;
    for (int column = 0; column < kColumnCount; ++column) {
        for (std::size_t b = 0; b < kBoxes.size(); ++b) {
            if (kBoxes[b].column != column)
                continue;
            for (const Row& row : kRows) {
                if (row.box != static_cast<Box>(b))
                    continue;
                for (const int id : {row.checkId, row.daysId, row.hoursId}) {
                    QWidget* control = Control<QWidget>(id);
                    if (previous != nullptr)
                        setTabOrder(previous, control);
                    previous = control;
                }
            }
        }
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
