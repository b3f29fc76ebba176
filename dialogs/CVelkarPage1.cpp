// CVelkarPage1, the sheet's "Stats" tab: name, portrait, class, level, age, experience, statistics.

#include "dialogs/CVelkarPage1.h"

#include "dialogs/ExchangeOrder.h"
#include "text/TextCodec.h"
#include "ui/ControlId.h"
#include "ui/ErrorGuard.h"
#include "ui/LengthValidator.h"
#include "ui/MultiLineBox.h"
#include "ui/NumberBox.h"

#include "model/ClassTable.h"
#include "model/SaveGame.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>
#include <string>

namespace {

using Page = CVelkarPage1;

enum class Kind { Portrait, Name, Class, Number, Description };
enum class Area { Header, Stats };

using Getter = int (SaveGame::*)(int) const;
using Setter = void (SaveGame::*)(int, int);

// A cell of the grid: its row and column, and how many of each it spans.
struct Cell {
    int row = 0;
    int column = 0;
    int rowSpan = 1;
    int columnSpan = 1;
};

// One bound control: what it shows and where it sits.
struct Row {
    int id = 0;
    const char* label = nullptr; // left of the control
    Kind kind = Kind::Number;
    int spinId = 0;       // 0: no up-down
    Getter get = nullptr; // numbers and the class
    Setter set = nullptr;
    Area area = Area::Stats;
    Cell cell{};
    int width = 0; // 0: as wide as the cell
};

constexpr int kNumberWidth = 76;
constexpr int kExperienceWidth = 110;
constexpr int kDescriptionHeight = 92;
constexpr int kColumnGap = 14;      // between a box and the next column's label
constexpr int kVisibleClasses = 20; // the Merge names some 60: the list scrolls

// In layout order, which is also the tab order.
// clang-format off
constexpr std::array<Row, Page::ControlCount> kRows = {{
    {.id = Page::IdFace, .kind = Kind::Portrait, .area = Area::Header, .cell = {0, 0, 4, 1}},
    {.id = Page::IdName, .label = "Name:", .kind = Kind::Name, .area = Area::Header, .cell = {0, 2, 1, 5}},
    {.id = Page::IdLevel, .label = "Level:", .kind = Kind::Number, .spinId = 1103,
     .get = &SaveGame::GetLevel, .set = &SaveGame::SetLevel,
     .area = Area::Header, .cell = {1, 2}, .width = kNumberWidth},
    {.id = Page::IdBaseLevel, .label = "/", .kind = Kind::Number, .spinId = 1104,
     .get = &SaveGame::GetBaseLevel, .set = &SaveGame::SetBaseLevel,
     .area = Area::Header, .cell = {1, 4}, .width = kNumberWidth},
    {.id = Page::IdAge, .label = "Age:", .kind = Kind::Number, .spinId = 1129,
     .get = &SaveGame::GetAge, .set = &SaveGame::SetAge, .area = Area::Header, .cell = {2, 2}, .width = kNumberWidth},
    {.id = Page::IdBaseAge, .label = "/", .kind = Kind::Number, .spinId = 1106,
     .get = &SaveGame::GetBaseAge, .set = &SaveGame::SetBaseAge,
     .area = Area::Header, .cell = {2, 4}, .width = kNumberWidth},
    {.id = Page::IdClass, .label = "Class:", .kind = Kind::Class,
     .get = &SaveGame::GetClass, .set = &SaveGame::SetClass, .area = Area::Header, .cell = {3, 2, 1, 3}},
    {.id = Page::IdExperience, .label = "Exp.:", .kind = Kind::Number,
     .get = &SaveGame::GetExperience, .set = &SaveGame::SetExperience,
     .area = Area::Header, .cell = {3, 6}, .width = kExperienceWidth},
    {.id = Page::IdMight, .label = "Might:", .kind = Kind::Number, .spinId = 1107,
     .get = &SaveGame::GetMight, .set = &SaveGame::SetMight, .cell = {0, 1}, .width = kNumberWidth},
    {.id = Page::IdIntelligence, .label = "Intelligence:", .kind = Kind::Number, .spinId = 1108,
     .get = &SaveGame::GetIntelligence, .set = &SaveGame::SetIntelligence, .cell = {1, 1}, .width = kNumberWidth},
    {.id = Page::IdPerception, .label = "Perception:", .kind = Kind::Number, .spinId = 1109,
     .get = &SaveGame::GetPerception, .set = &SaveGame::SetPerception, .cell = {2, 1}, .width = kNumberWidth},
    {.id = Page::IdEndurance, .label = "Endurance:", .kind = Kind::Number, .spinId = 1110,
     .get = &SaveGame::GetEndurance, .set = &SaveGame::SetEndurance, .cell = {3, 1}, .width = kNumberWidth},
    {.id = Page::IdAccuracy, .label = "Accuracy:", .kind = Kind::Number, .spinId = 1111,
     .get = &SaveGame::GetAccuracy, .set = &SaveGame::SetAccuracy, .cell = {4, 1}, .width = kNumberWidth},
    {.id = Page::IdSpeed, .label = "Speed:", .kind = Kind::Number, .spinId = 1112,
     .get = &SaveGame::GetSpeed, .set = &SaveGame::SetSpeed, .cell = {5, 1}, .width = kNumberWidth},
    {.id = Page::IdLuck, .label = "Luck:", .kind = Kind::Number, .spinId = 1113,
     .get = &SaveGame::GetLuck, .set = &SaveGame::SetLuck, .cell = {6, 1}, .width = kNumberWidth},
    {.id = Page::IdFireResistance, .label = "Fire Resis:", .kind = Kind::Number, .spinId = 1133,
     .get = &SaveGame::GetFireResistance, .set = &SaveGame::SetFireResistance, .cell = {0, 3}, .width = kNumberWidth},
    {.id = Page::IdAirResistance, .label = "Air Resis:", .kind = Kind::Number, .spinId = 1134,
     .get = &SaveGame::GetAirResistance, .set = &SaveGame::SetAirResistance, .cell = {1, 3}, .width = kNumberWidth},
    {.id = Page::IdWaterResistance, .label = "Water Resis:", .kind = Kind::Number, .spinId = 1121,
     .get = &SaveGame::GetWaterResistance, .set = &SaveGame::SetWaterResistance, .cell = {2, 3}, .width = kNumberWidth},
    {.id = Page::IdEarthResistance, .label = "Earth Resis:", .kind = Kind::Number, .spinId = 1122,
     .get = &SaveGame::GetEarthResistance, .set = &SaveGame::SetEarthResistance, .cell = {3, 3}, .width = kNumberWidth},
    {.id = Page::IdMindResistance, .label = "Mind Resis:", .kind = Kind::Number, .spinId = 1124,
     .get = &SaveGame::GetMindResistance, .set = &SaveGame::SetMindResistance, .cell = {4, 3}, .width = kNumberWidth},
    {.id = Page::IdBodyResistance, .label = "Body Resis:", .kind = Kind::Number, .spinId = 1125,
     .get = &SaveGame::GetBodyResistance, .set = &SaveGame::SetBodyResistance, .cell = {5, 3}, .width = kNumberWidth},
    {.id = Page::IdHitPoints, .label = "Current HP:", .kind = Kind::Number, .spinId = 1130,
     .get = &SaveGame::GetHitPoints, .set = &SaveGame::SetHitPoints, .cell = {0, 5}, .width = kNumberWidth},
    {.id = Page::IdSpellPoints, .label = "Current SP:", .kind = Kind::Number, .spinId = 1131,
     .get = &SaveGame::GetSpellPoints, .set = &SaveGame::SetSpellPoints, .cell = {1, 5}, .width = kNumberWidth},
    {.id = Page::IdArmorClassModifier, .label = "AC Modifier:", .kind = Kind::Number, .spinId = 1132,
     .get = &SaveGame::GetArmorClassModifier, .set = &SaveGame::SetArmorClassModifier,
     .cell = {2, 5}, .width = kNumberWidth},
    {.id = Page::IdSkillPoints, .label = "Skill Points:", .kind = Kind::Number, .spinId = 1140,
     .get = &SaveGame::GetSkillPoints, .set = &SaveGame::SetSkillPoints, .cell = {3, 5}, .width = kNumberWidth},
    {.id = Page::IdDescription, .label = "Description:", .kind = Kind::Description, .cell = {7, 1, 1, 5}},
}};

// The exchange order decides which values survive a failed check.
constexpr std::array<int, Page::ControlCount> kExchangeOrder = {
    Page::IdFace, Page::IdArmorClassModifier, Page::IdAccuracy, Page::IdBaseAge, Page::IdEndurance, Page::IdLuck,
    Page::IdBaseLevel, Page::IdMight, Page::IdPerception, Page::IdSpeed, Page::IdClass, Page::IdAge,
    Page::IdHitPoints, Page::IdLevel, Page::IdSpellPoints, Page::IdExperience, Page::IdFireResistance, Page::IdName,
    Page::IdIntelligence, Page::IdAirResistance, Page::IdBodyResistance, Page::IdEarthResistance,
    Page::IdMindResistance, Page::IdWaterResistance, Page::IdSkillPoints, Page::IdDescription,
};

// The write order puts each base before its total; the portrait is written at once, not here.
constexpr std::array<int, Page::ControlCount - 1> kWriteOrder = {
    Page::IdArmorClassModifier, Page::IdAccuracy, Page::IdBaseAge, Page::IdEndurance, Page::IdIntelligence,
    Page::IdLuck, Page::IdBaseLevel, Page::IdMight, Page::IdPerception, Page::IdSpeed, Page::IdClass, Page::IdAge,
    Page::IdHitPoints, Page::IdLevel, Page::IdSpellPoints, Page::IdExperience, Page::IdFireResistance,
    Page::IdAirResistance, Page::IdWaterResistance, Page::IdEarthResistance, Page::IdMindResistance,
    Page::IdBodyResistance, Page::IdName, Page::IdDescription, Page::IdSkillPoints,
};
// clang-format on

static_assert(ExchangeOrder::Lists(kExchangeOrder, ExchangeOrder::IdsOf(kRows, &Row::id)));

// Every bound id but the portrait's: a field left out of the write order is a compile error.
constexpr std::array<int, Page::ControlCount - 1> WrittenIds()
{
    std::array<int, Page::ControlCount - 1> ids{};
    std::size_t next = 0;
    for (const Row& row : kRows) {
        if (row.kind != Kind::Portrait && next < ids.size())
            ids[next++] = row.id;
    }
    return ids;
}
static_assert(ExchangeOrder::Lists(kWriteOrder, WrittenIds()));

constexpr std::size_t WrittenAt(int id)
{
    for (std::size_t i = 0; i < kWriteOrder.size(); ++i) {
        if (kWriteOrder[i] == id)
            return i;
    }
    return kWriteOrder.size();
}
static_assert(WrittenAt(Page::IdBaseAge) < WrittenAt(Page::IdAge) && WrittenAt(Page::IdAge) < kWriteOrder.size());
static_assert(WrittenAt(Page::IdBaseLevel) < WrittenAt(Page::IdLevel) && WrittenAt(Page::IdLevel) < kWriteOrder.size());

const Row& RowOf(int id)
{
    return *std::find_if(kRows.begin(), kRows.end(), [id](const Row& row) { return row.id == id; });
}

std::size_t IndexOf(int id)
{
    return static_cast<std::size_t>(&RowOf(id) - kRows.data());
}

QWidget* MakeControl(const Row& row, const TextCodec& codec)
{
    switch (row.kind) {
    case Kind::Portrait: {
        auto* button = new QPushButton;
        button->setIconSize(QSize(60, 80));
        button->setFixedSize(60 + 10, 80 + 10);
        button->setAccessibleName(QStringLiteral("Face"));
        return button;
    }
    case Kind::Name: {
        auto* edit = new QLineEdit;
        edit->setValidator(new LengthValidator(Page::NameLength, codec, edit));
        return edit;
    }
    case Kind::Class: {
        return new QComboBox; // filled from the game's classes
    }
    case Kind::Number: {
        // Every field here is signed: a negative value the game left must stay typeable.
        auto* box = new NumberBox(NumberBox::Keys::DigitsAndSign);
        if (row.spinId != 0) {
            box->SetSpinId(row.spinId);
            box->SetRange(-NumberBox::UpDownLimit, NumberBox::UpDownLimit);
        } else {
            box->setButtonSymbols(QAbstractSpinBox::NoButtons);
        }
        return box;
    }
    case Kind::Description: {
        auto* box = new MultiLineBox;
        box->SetMaxLength(Page::DescriptionLength);
        box->SetCodec(codec);
        box->setFixedHeight(kDescriptionHeight);
        return box;
    }
    }
    return nullptr;
}

// A text's bytes in the game's code page, cut at a character's end when too long (a failed
// length check stores all the same); nothing when a character cannot be stored at all.
std::optional<std::string> StoredText(const TextCodec& codec, const QString& text, int maxBytes)
{
    return codec.ToBytes(QStringView(text).left(codec.Fit(text, maxBytes)));
}

} // namespace

CVelkarPage1::CVelkarPage1(SaveGame& save, int n) : CharacterPage(QStringLiteral("Stats"), save, n)
{
    std::vector<DataExchange::Binding> bindings;
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        const Row& row = kRows[i];
        switch (row.kind) {
        case Kind::Portrait:
            bindings.push_back(DataExchange::Control(row.id));
            break;
        case Kind::Name:
            bindings.push_back(DataExchange::GameText(row.id, name_, NameLength, "name"));
            break;
        case Kind::Description:
            bindings.push_back(DataExchange::GameText(row.id, description_, DescriptionLength, "description"));
            break;
        case Kind::Class:
            bindings.push_back(DataExchange::Choice(row.id, values_[i]));
            break;
        case Kind::Number:
            bindings.push_back(DataExchange::Integer(row.id, values_[i]));
            break;
        }
    }
    Exchange().SetBindings(ExchangeOrder::Sort(std::move(bindings), kExchangeOrder));
}

void CVelkarPage1::OnCreate()
{
    BuildControls();
    for (int f = 0; f < PortraitCount; ++f)
        portraits_[static_cast<std::size_t>(f)] = QIcon(QStringLiteral(":/FACE%1.png").arg(f, 2, 10, QLatin1Char('0')));
    noPortrait_ = QIcon(QStringLiteral(":/NOFACE.png"));
}

void CVelkarPage1::BuildControls()
{
    auto* page = new QVBoxLayout(this);
    auto* header = new QGridLayout;
    auto* stats = new QGridLayout;
    page->addLayout(header);
    page->addSpacing(8);
    page->addLayout(stats);
    page->addStretch(1);
    header->setColumnStretch(6, 1);
    stats->setHorizontalSpacing(kColumnGap);
    for (const int column : {1, 3, 5})
        stats->setColumnStretch(column, 1);

    for (const Row& row : kRows) {
        QGridLayout* grid = row.area == Area::Header ? header : stats;
        QWidget* control = MakeControl(row, Codec());
        ControlId::Give(control, row.id);
        if (row.width != 0)
            control->setFixedWidth(row.width);
        if (row.label != nullptr) {
            auto* label = new QLabel(QString::fromLatin1(row.label));
            label->setBuddy(control);
            const bool slash = row.label == std::string_view("/");
            const bool tall = row.kind == Kind::Description;
            label->setAlignment((slash ? Qt::AlignHCenter : Qt::AlignLeft) | (tall ? Qt::AlignTop : Qt::AlignVCenter));
            grid->addWidget(label, row.cell.row, row.cell.column - 1);
        }
        const Qt::Alignment alignment = row.width != 0 ? Qt::AlignLeft : Qt::Alignment();
        grid->addWidget(control, row.cell.row, row.cell.column, row.cell.rowSpan, row.cell.columnSpan, alignment);
    }
    FillClasses();
    portraitButton_ = Control<QPushButton>(IdFace);
    ErrorGuard::Connect(portraitButton_, &QPushButton::clicked, this, [this] { OnPortraitClicked(); });
}

void CVelkarPage1::LoadFromModel()
{
    const SaveGame& game = Game();
    const int n = Number();
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        const Row& row = kRows[i];
        switch (row.kind) {
        case Kind::Portrait:
            ShowPortrait(game.GetFace(n));
            break;
        case Kind::Name:
            name_ = Codec().ToText(game.GetName(n));
            break;
        case Kind::Description:
            description_ = Codec().ToText(game.GetDescription(n));
            break;
        case Kind::Class:
            values_[i] = ClassEntry((game.*row.get)(n));
            break;
        case Kind::Number:
            values_[i] = (game.*row.get)(n);
            break;
        }
    }
    Exchange().Show();
}

void CVelkarPage1::FillClasses()
{
    const ClassTable& table = Game().GetClassTable();
    auto* classes = Control<QComboBox>(IdClass);
    classNumbers_ = table.NamedNumbers();
    for (const int number : classNumbers_)
        classes->addItem(Codec().ToText(table.GetClassName(number).value_or("")), number);
    classes->setMaxVisibleItems(std::min(static_cast<int>(classNumbers_.size()), kVisibleClasses));
}

int CVelkarPage1::ClassEntry(int stored)
{
    // A class the list does not know gets an entry of its own after the last, carrying it.
    auto* classes = Control<QComboBox>(IdClass);
    const int known = static_cast<int>(classNumbers_.size());
    while (classes->count() > known)
        classes->removeItem(known);
    const auto found = std::find(classNumbers_.begin(), classNumbers_.end(), stored);
    if (found != classNumbers_.end())
        return static_cast<int>(found - classNumbers_.begin());
    unknownClass_ = stored;
    classes->addItem(QStringLiteral("Class %1").arg(stored));
    return known;
}

void CVelkarPage1::StoreToModel()
{
    // A failed check stops the reading, but what the members hold is written all the same.
    Exchange().Read();
    const auto changed = [this](int id) { return Exchange().Changed(id); };
    // Level and age are each a base and a total: when either box changed, both are written,
    // the base first, so the total comes out as shown.
    const bool level = changed(IdLevel) || changed(IdBaseLevel);
    const bool age = changed(IdAge) || changed(IdBaseAge);
    SaveGame& game = Game();
    const int n = Number();
    for (const int id : kWriteOrder) {
        const Row& row = RowOf(id);
        const bool pair = row.id == IdLevel || row.id == IdBaseLevel ? level
                          : row.id == IdAge || row.id == IdBaseAge   ? age
                                                                     : false;
        if (!pair && !changed(row.id))
            continue;
        switch (row.kind) {
        case Kind::Name:
            if (const std::optional<std::string> bytes = StoredText(Codec(), name_, NameLength))
                game.SetName(n, *bytes);
            break;
        case Kind::Description:
            if (const std::optional<std::string> bytes = StoredText(Codec(), description_, DescriptionLength))
                game.SetDescription(n, *bytes);
            break;
        case Kind::Class: {
            const int entry = values_[IndexOf(id)];
            const bool named = entry >= 0 && entry < static_cast<int>(classNumbers_.size());
            (game.*row.set)(n, named ? classNumbers_[static_cast<std::size_t>(entry)] : unknownClass_);
            break;
        }
        case Kind::Number:
            (game.*row.set)(n, values_[IndexOf(id)]);
            break;
        case Kind::Portrait:
            break;
        }
    }
    Exchange().Remember();
}

void CVelkarPage1::OnPortraitClicked()
{
    // Steps forward only; wraps to 0 above the last portrait.
    int face = Game().GetFace(Number()) + 1;
    if (face >= PortraitCount)
        face = 0;
    Game().SetFace(Number(), face);
    ShowPortrait(face);
}

void CVelkarPage1::ShowPortrait(int face)
{
    if (portraitButton_ == nullptr)
        return;
    const bool known = face >= 0 && face < PortraitCount;
    portraitButton_->setIcon(known ? portraits_[static_cast<std::size_t>(face)] : noPortrait_);
}
