#include "dialogs/CVelkarPage1.h"

#include "ui/ErrorGuard.h"
#include "ui/LengthValidator.h"
#include "ui/MultiLineBox.h"
#include "ui/NumberBox.h"
#include "ui/TextCodec.h"

#include "SaveGame.h"
#include "Vocabulary.h"

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

// One bound control: what it shows, where it sits, and its place in the two orders
// that matter (the exchange order decides which values survive a failed check; the
// write order puts each base before its total).
struct Row {
    int id;
    const char* label; // left of the control
    Kind kind;
    int spinId;        // 0: no up-down
    Getter get;        // numbers and the class
    Setter set;
    int exchangeRank;
    int writeRank;     // 0: not written by StoreToModel
    Area area;
    int row;
    int column;
    int rowSpan;
    int columnSpan;
    int width;         // 0: as wide as the cell
};

constexpr int kNumberWidth = 76;
constexpr int kExperienceWidth = 110;
constexpr int kDescriptionHeight = 92;
constexpr int kColumnGap = 14; // between a box and the next column's label

// In layout order, which is also the tab order.
constexpr std::array<Row, Page::ControlCount> kRows = {{
    {Page::IdFace, nullptr, Kind::Portrait, 0, nullptr, nullptr, 1, 0, Area::Header, 0, 0, 4, 1, 0},
    {Page::IdName, "Name:", Kind::Name, 0, nullptr, nullptr, 18, 23, Area::Header, 0, 2, 1, 5, 0},
    {Page::IdLevel, "Level:", Kind::Number, 1103, &SaveGame::GetLevel, &SaveGame::SetLevel, 14, 14, Area::Header, 1, 2, 1, 1, kNumberWidth},
    {Page::IdBaseLevel, "/", Kind::Number, 1104, &SaveGame::GetBaseLevel, &SaveGame::SetBaseLevel, 7, 7, Area::Header, 1, 4, 1, 1, kNumberWidth},
    {Page::IdAge, "Age:", Kind::Number, 1129, &SaveGame::GetAge, &SaveGame::SetAge, 12, 12, Area::Header, 2, 2, 1, 1, kNumberWidth},
    {Page::IdBaseAge, "/", Kind::Number, 1106, &SaveGame::GetBaseAge, &SaveGame::SetBaseAge, 4, 3, Area::Header, 2, 4, 1, 1, kNumberWidth},
    {Page::IdClass, "Class:", Kind::Class, 0, &SaveGame::GetClass, &SaveGame::SetClass, 11, 11, Area::Header, 3, 2, 1, 3, 0},
    {Page::IdExperience, "Exp.:", Kind::Number, 0, &SaveGame::GetExperience, &SaveGame::SetExperience, 16, 16, Area::Header, 3, 6, 1, 1, kExperienceWidth},
    {Page::IdMight, "Might:", Kind::Number, 1107, &SaveGame::GetMight, &SaveGame::SetMight, 8, 8, Area::Stats, 0, 1, 1, 1, kNumberWidth},
    {Page::IdIntelligence, "Intelligence:", Kind::Number, 1108, &SaveGame::GetIntelligence, &SaveGame::SetIntelligence, 19, 5, Area::Stats, 1, 1, 1, 1, kNumberWidth},
    {Page::IdPerception, "Perception:", Kind::Number, 1109, &SaveGame::GetPerception, &SaveGame::SetPerception, 9, 9, Area::Stats, 2, 1, 1, 1, kNumberWidth},
    {Page::IdEndurance, "Endurance:", Kind::Number, 1110, &SaveGame::GetEndurance, &SaveGame::SetEndurance, 5, 4, Area::Stats, 3, 1, 1, 1, kNumberWidth},
    {Page::IdAccuracy, "Accuracy:", Kind::Number, 1111, &SaveGame::GetAccuracy, &SaveGame::SetAccuracy, 3, 2, Area::Stats, 4, 1, 1, 1, kNumberWidth},
    {Page::IdSpeed, "Speed:", Kind::Number, 1112, &SaveGame::GetSpeed, &SaveGame::SetSpeed, 10, 10, Area::Stats, 5, 1, 1, 1, kNumberWidth},
    {Page::IdLuck, "Luck:", Kind::Number, 1113, &SaveGame::GetLuck, &SaveGame::SetLuck, 6, 6, Area::Stats, 6, 1, 1, 1, kNumberWidth},
    {Page::IdFireResistance, "Fire Resis:", Kind::Number, 1133, &SaveGame::GetFireResistance, &SaveGame::SetFireResistance, 17, 17, Area::Stats, 0, 3, 1, 1, kNumberWidth},
    {Page::IdAirResistance, "Air Resis:", Kind::Number, 1134, &SaveGame::GetAirResistance, &SaveGame::SetAirResistance, 20, 18, Area::Stats, 1, 3, 1, 1, kNumberWidth},
    {Page::IdWaterResistance, "Water Resis:", Kind::Number, 1121, &SaveGame::GetWaterResistance, &SaveGame::SetWaterResistance, 24, 19, Area::Stats, 2, 3, 1, 1, kNumberWidth},
    {Page::IdEarthResistance, "Earth Resis:", Kind::Number, 1122, &SaveGame::GetEarthResistance, &SaveGame::SetEarthResistance, 22, 20, Area::Stats, 3, 3, 1, 1, kNumberWidth},
    {Page::IdMindResistance, "Mind Resis:", Kind::Number, 1124, &SaveGame::GetMindResistance, &SaveGame::SetMindResistance, 23, 21, Area::Stats, 4, 3, 1, 1, kNumberWidth},
    {Page::IdBodyResistance, "Body Resis:", Kind::Number, 1125, &SaveGame::GetBodyResistance, &SaveGame::SetBodyResistance, 21, 22, Area::Stats, 5, 3, 1, 1, kNumberWidth},
    {Page::IdHitPoints, "Current HP:", Kind::Number, 1130, &SaveGame::GetHitPoints, &SaveGame::SetHitPoints, 13, 13, Area::Stats, 0, 5, 1, 1, kNumberWidth},
    {Page::IdSpellPoints, "Current SP:", Kind::Number, 1131, &SaveGame::GetSpellPoints, &SaveGame::SetSpellPoints, 15, 15, Area::Stats, 1, 5, 1, 1, kNumberWidth},
    {Page::IdArmorClassModifier, "AC Modifier:", Kind::Number, 1132, &SaveGame::GetArmorClassModifier, &SaveGame::SetArmorClassModifier, 2, 1, Area::Stats, 2, 5, 1, 1, kNumberWidth},
    {Page::IdSkillPoints, "Skill Points:", Kind::Number, 1140, &SaveGame::GetSkillPoints, &SaveGame::SetSkillPoints, 25, 25, Area::Stats, 3, 5, 1, 1, kNumberWidth},
    {Page::IdDescription, "Description:", Kind::Description, 0, nullptr, nullptr, 26, 24, Area::Stats, 7, 1, 1, 5, 0},
}};

// Table positions sorted by one of the ranks; rank 0 rows are left out (-1 at the end).
constexpr std::array<int, Page::ControlCount> OrderBy(int Row::*rank)
{
    std::array<int, Page::ControlCount> order{};
    order.fill(-1);
    for (int i = 0; i < Page::ControlCount; ++i) {
        const int r = kRows[static_cast<std::size_t>(i)].*rank;
        if (r > 0)
            order[static_cast<std::size_t>(r - 1)] = i;
    }
    return order;
}

constexpr std::array<int, Page::ControlCount> kExchangeOrder = OrderBy(&Row::exchangeRank);
constexpr std::array<int, Page::ControlCount> kWriteOrder = OrderBy(&Row::writeRank);

constexpr bool RanksArePermutation(int Row::*rank, int count)
{
    const std::array<int, Page::ControlCount> order = OrderBy(rank);
    for (int r = 0; r < Page::ControlCount; ++r) {
        if ((order[static_cast<std::size_t>(r)] >= 0) != (r < count))
            return false;
    }
    return true;
}
static_assert(RanksArePermutation(&Row::exchangeRank, Page::ControlCount));
static_assert(RanksArePermutation(&Row::writeRank, Page::ControlCount - 1)); // the portrait is not written
static_assert(kRows[kWriteOrder[2]].id == Page::IdBaseAge && kRows[kWriteOrder[11]].id == Page::IdAge);
static_assert(kRows[kWriteOrder[6]].id == Page::IdBaseLevel && kRows[kWriteOrder[13]].id == Page::IdLevel);

QWidget* MakeControl(const Row& row)
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
        edit->setValidator(new LengthValidator(Page::NameLength, edit));
        return edit;
    }
    case Kind::Class: {
        auto* list = new QComboBox;
        for (const std::string_view name : Vocabulary::ClassNames)
            list->addItem(TextCodec::Decode(name));
        list->setMaxVisibleItems(static_cast<int>(Vocabulary::ClassNames.size()));
        return list;
    }
    case Kind::Number: {
        // Every field here is signed: a negative value the game left must stay typeable.
        auto* box = new NumberBox(NumberBox::Keys::DigitsAndSign);
        if (row.spinId != 0) {
            box->SetSpinId(row.spinId);
            box->SetRange(Page::SpinMinimum, Page::SpinMaximum);
        } else {
            box->setButtonSymbols(QAbstractSpinBox::NoButtons);
        }
        return box;
    }
    case Kind::Description: {
        auto* box = new MultiLineBox;
        box->SetMaxLength(Page::DescriptionLength);
        box->setFixedHeight(kDescriptionHeight);
        return box;
    }
    }
    return nullptr;
}

// A text's bytes in the game's code page, cut at a character's end when too long (a failed
// length check stores all the same); nothing when a character cannot be stored at all.
std::optional<std::string> StoredText(const QString& text, int maxBytes)
{
    const TextCodec& codec = TextCodec::Current();
    return codec.ToBytes(QStringView(text).left(codec.Fit(text, maxBytes)));
}

} // namespace

CVelkarPage1::CVelkarPage1(SaveGame& save, int n) : CharacterPage(QStringLiteral("Stats"), save, n)
{
    std::vector<DataExchange::Binding> bindings;
    for (const int i : kExchangeOrder) {
        const Row& row = kRows[static_cast<std::size_t>(i)];
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
            bindings.push_back(DataExchange::Choice(row.id, values_[static_cast<std::size_t>(i)]));
            break;
        case Kind::Number:
            bindings.push_back(DataExchange::Integer(row.id, values_[static_cast<std::size_t>(i)]));
            break;
        }
    }
    Exchange().SetBindings(std::move(bindings));
}

void CVelkarPage1::OnCreate()
{
    BuildControls();
    for (int f = 0; f < PortraitCount; ++f)
        portraits_[static_cast<std::size_t>(f)] = QPixmap(QStringLiteral(":/FACE%1.png").arg(f, 2, 10, QLatin1Char('0')));
    noPortrait_ = QPixmap(QStringLiteral(":/NOFACE.png"));
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
        QWidget* control = MakeControl(row);
        control->setObjectName(QString::number(row.id));
        if (row.width != 0)
            control->setFixedWidth(row.width);
        if (row.label != nullptr) {
            auto* label = new QLabel(QString::fromLatin1(row.label));
            label->setBuddy(control);
            const bool slash = row.label == std::string_view("/");
            const bool tall = row.kind == Kind::Description;
            label->setAlignment((slash ? Qt::AlignHCenter : Qt::AlignLeft) | (tall ? Qt::AlignTop : Qt::AlignVCenter));
            grid->addWidget(label, row.row, row.column - 1);
        }
        const Qt::Alignment alignment = row.width != 0 ? Qt::AlignLeft : Qt::Alignment();
        grid->addWidget(control, row.row, row.column, row.rowSpan, row.columnSpan, alignment);
    }
    portraitButton_ = Control<QPushButton>(IdFace);
    connect(portraitButton_, &QPushButton::clicked, this, [this] { ErrorGuard::Run([this] { OnPortraitClicked(); }); });
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
            name_ = TextCodec::Decode(game.GetName(n));
            break;
        case Kind::Description:
            description_ = TextCodec::Decode(game.GetDescription(n));
            break;
        case Kind::Class:
        case Kind::Number:
            values_[i] = (game.*row.get)(n);
            break;
        }
    }
    Exchange().Show();
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
    for (const int i : kWriteOrder) {
        if (i < 0)
            break;
        const Row& row = kRows[static_cast<std::size_t>(i)];
        const bool pair = row.id == IdLevel || row.id == IdBaseLevel ? level
                          : row.id == IdAge || row.id == IdBaseAge   ? age
                                                                     : false;
        if (!pair && !changed(row.id))
            continue;
        switch (row.kind) {
        case Kind::Name:
            if (const std::optional<std::string> bytes = StoredText(name_, NameLength))
                game.SetName(n, *bytes);
            break;
        case Kind::Description:
            if (const std::optional<std::string> bytes = StoredText(description_, DescriptionLength))
                game.SetDescription(n, *bytes);
            break;
        case Kind::Class:
        case Kind::Number:
            (game.*row.set)(n, values_[static_cast<std::size_t>(i)]);
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
