#include "tests/dialogs/PageFixture.h"
#include "tests/support/TranscribedLayout.h"

#include "dialogs/CVelkarPage1.h"
#include "model/CharacterLayout.h"
#include "model/GameData.h"
#include "tests/support/LodBuilder.h"
#include "text/TextCodec.h"
#include "ui/MultiLineBox.h"
#include "ui/NumberBox.h"

#include "tests/ui/UiTesting.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <ostream>
#include <string>

using Id = CVelkarPage1;

namespace {

class StatsPageTest : public PageFixture {
protected:
    StatsPageTest() : PageFixture(StatsTab) {}

    QImage Portrait() const
    {
        return Control<QPushButton>(Id::IdFace)
            ->icon()
            .pixmap(QSize(60, 80))
            .toImage()
            .convertToFormat(QImage::Format_RGB888);
    }
    static QImage Resource(const QString& name) { return QImage(name).convertToFormat(QImage::Format_RGB888); }
    static QImage Face(int f) { return Resource(QStringLiteral(":/FACE%1.png").arg(f, 2, 10, QLatin1Char('0'))); }
};

} // namespace

TEST_F(StatsPageTest, EveryControlHasItsIdLabelAndSpin)
{
    OpenSheet();
    ExpectNumberBoxes({
        {Id::IdLevel, 1103, "Level:"},
        {Id::IdBaseLevel, 1104, "/"},
        {Id::IdAge, 1129, "Age:"},
        {Id::IdBaseAge, 1106, "/"},
        {Id::IdExperience, 0, "Exp.:"},
        {Id::IdMight, 1107, "Might:"},
        {Id::IdIntelligence, 1108, "Intelligence:"},
        {Id::IdPerception, 1109, "Perception:"},
        {Id::IdEndurance, 1110, "Endurance:"},
        {Id::IdAccuracy, 1111, "Accuracy:"},
        {Id::IdSpeed, 1112, "Speed:"},
        {Id::IdLuck, 1113, "Luck:"},
        {Id::IdFireResistance, 1133, "Fire Resis:"},
        {Id::IdAirResistance, 1134, "Air Resis:"},
        {Id::IdWaterResistance, 1121, "Water Resis:"},
        {Id::IdEarthResistance, 1122, "Earth Resis:"},
        {Id::IdMindResistance, 1124, "Mind Resis:"},
        {Id::IdBodyResistance, 1125, "Body Resis:"},
        {Id::IdHitPoints, 1130, "Current HP:"},
        {Id::IdSpellPoints, 1131, "Current SP:"},
        {Id::IdArmorClassModifier, 1132, "AC Modifier:"},
        {Id::IdSkillPoints, 1140, "Skill Points:"},
    });
    EXPECT_EQ(LabelOf(Id::IdName), "Name:");
    EXPECT_EQ(LabelOf(Id::IdClass), "Class:");
    EXPECT_EQ(LabelOf(Id::IdDescription), "Description:");
    EXPECT_NE(Control<QPushButton>(Id::IdFace), nullptr);
    EXPECT_NE(Control<MultiLineBox>(Id::IdDescription), nullptr);
}

TEST_F(StatsPageTest, ShowsTheCharactersFields)
{
    Prepare([](SaveGame& s) {
        s.SetName(N, "Ren\xE9");
        s.SetDescription(N, "Tall.\r\nQuiet.");
        s.SetHitPoints(N, -12);
        s.SetExperience(N, 123456789);
        s.SetFace(N, 5);
    });
    OpenSheet();
    EXPECT_EQ(Control<QLineEdit>(Id::IdName)->text(), QStringLiteral("Ren\u00E9"));
    EXPECT_EQ(Control<MultiLineBox>(Id::IdDescription)->toPlainText(), "Tall.\nQuiet.");
    EXPECT_EQ(Box(Id::IdHitPoints)->Text(), "-12");
    EXPECT_EQ(Box(Id::IdExperience)->Text(), "123456789");
    EXPECT_EQ(Box(Id::IdMight)->Text(), QString::number(save.GetMight(N)));
    ASSERT_FALSE(Face(5).isNull());
    EXPECT_EQ(Portrait(), Face(5));
}

TEST_F(StatsPageTest, TheClassListHoldsTheSixteenClassesAtTheirNumbers)
{
    Prepare([](SaveGame& s) { s.SetClass(N, 3); });
    OpenSheet();
    auto* list = Control<QComboBox>(Id::IdClass);
    ASSERT_EQ(list->count(), 16);
    EXPECT_EQ(list->itemText(0), "Necromancer");
    EXPECT_EQ(list->currentText(), "Priest of the Sun");
    list->setFocus();
    QTest::keyClick(list, Qt::Key_End);
    EXPECT_EQ(list->currentText(), "Great Wyrm");
    Tab(1);
    EXPECT_EQ(save.GetClass(N), 15);
}

TEST_F(StatsPageTest, AClassTheListDoesNotKnowHasAnEntryOfItsOwn)
{
    Prepare([](SaveGame& s) { s.SetClass(N, 20); });
    OpenSheet();
    auto* classes = Control<QComboBox>(Id::IdClass);
    ASSERT_EQ(classes->count(), 17);
    EXPECT_EQ(classes->currentText(), "Class 20");
    Tab(1);
    Tab(0);
    EXPECT_EQ(classes->count(), 17) << "one extra entry, however often the tab loads";
    UiTesting::ChooseEntry(*classes, 4);
    UiTesting::ChooseEntry(*classes, 16);
    Click(QDialogButtonBox::Ok);
    EXPECT_EQ(save.GetClass(N), 20) << "choosing it stores what it carries";
}

TEST_F(StatsPageTest, TheGamesClassesAreListedInNumberOrderEachCarryingItsNumber)
{
    // Windows-1251: "\u0416\u0430\u043D" is C6 E0 ED.
    LodBuilder("MMVIII", "language")
        .AddFile("class.txt",
                 "Class\tNotes\r\nArcher\t\"a\r\nb\"\r\nn/u\t\r\nPriest\t\r\nDelete me\t\r\n\xC6\xE0\xED\t\r\n")
        .WriteTo(folder / "game" / "Data" / "EnglishT.lod");
    Speak(GameWords::FromGame(GameData::Load(folder / "game"), "1251"));
    Prepare([](SaveGame& s) { s.SetClass(N, 1); });
    OpenSheet();
    auto* classes = Control<QComboBox>(Id::IdClass);
    QStringList texts;
    QList<int> numbers;
    for (int i = 0; i < classes->count(); ++i) {
        texts.append(classes->itemText(i));
        numbers.append(classes->itemData(i).toInt());
    }
    EXPECT_EQ(texts, QStringList({"Archer", "Priest", QString::fromUtf8("\u0416\u0430\u043D"), "Class 1"}));
    EXPECT_EQ(numbers.mid(0, 3), QList<int>({0, 2, 4}));
    EXPECT_EQ(classes->currentText(), "Class 1") << "a number the game does not name";
    UiTesting::ChooseEntry(*classes, 2);
    Click(QDialogButtonBox::Ok);
    EXPECT_EQ(save.GetClass(N), 4);
}

namespace {

// A total shown left of "/" and its base right of it: level and base level, age and
// natural age. The model stores the total as a difference to the base.
struct PairCase {
    int totalId;
    int baseId;
    void (SaveGame::*setTotal)(int, int);
    void (SaveGame::*setBase)(int, int);
    int (SaveGame::*getTotal)(int) const;
    int (SaveGame::*getBase)(int) const;
    int total;
    int base;
    int newBase;
};

class TotalAndBaseTest : public StatsPageTest, public ::testing::WithParamInterface<PairCase> {};

} // namespace

TEST_P(TotalAndBaseTest, TheBaseIsStoredBeforeTheTotal)
{
    const PairCase& c = GetParam();
    Prepare([&](SaveGame& s) {
        (s.*c.setBase)(N, c.base);
        (s.*c.setTotal)(N, c.total);
    });
    OpenSheet();
    EXPECT_EQ(Box(c.totalId)->Text(), QString::number(c.total));
    EXPECT_EQ(Box(c.baseId)->Text(), QString::number(c.base));
    Type(c.baseId, QString::number(c.newBase));
    Tab(1);
    EXPECT_EQ((save.*c.getBase)(N), c.newBase);
    EXPECT_EQ((save.*c.getTotal)(N), c.total);
    Tab(0);
    EXPECT_EQ(Box(c.totalId)->Text(), QString::number(c.total));
    EXPECT_EQ(Box(c.baseId)->Text(), QString::number(c.newBase));
    Click(QDialogButtonBox::Ok);
    EXPECT_EQ(FileBytes(), Expected([&](SaveGame& s) {
                  (s.*c.setBase)(N, c.newBase);
                  (s.*c.setTotal)(N, c.total);
              }));
}

INSTANTIATE_TEST_SUITE_P(LevelAndAge, TotalAndBaseTest,
                         ::testing::Values(PairCase{Id::IdLevel, Id::IdBaseLevel, &SaveGame::SetLevel,
                                                    &SaveGame::SetBaseLevel, &SaveGame::GetLevel,
                                                    &SaveGame::GetBaseLevel, 12, 10, 15},
                                           PairCase{Id::IdAge, Id::IdBaseAge, &SaveGame::SetAge, &SaveGame::SetBaseAge,
                                                    &SaveGame::GetAge, &SaveGame::GetBaseAge, 25, 20, 30}));

TEST_F(StatsPageTest, TypedValuesOutsideTheSpinRangeAreStoredInTheFieldsWidth)
{
    OpenSheet();
    Type(Id::IdMight, "40000");
    EXPECT_EQ(Box(Id::IdMight)->Text(), "40000");
    Tab(1);
    EXPECT_EQ(save.GetMight(N), -25536);
    Tab(0);
    EXPECT_EQ(Box(Id::IdMight)->Text(), "-25536");
}

TEST_F(StatsPageTest, ThePortraitStepsForwardWrapsAndIsStoredAtOnce)
{
    Prepare([](SaveGame& s) { s.SetFace(N, 26); });
    OpenSheet();
    auto* button = Control<QPushButton>(Id::IdFace);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(save.GetFace(N), 27);
    EXPECT_EQ(Portrait(), Face(27));
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(save.GetFace(N), 0);
    EXPECT_EQ(Portrait(), Face(0));
    Click(QDialogButtonBox::Cancel);
    EXPECT_EQ(save.GetFace(N), 26) << "Cancel puts the portrait back";
    EXPECT_EQ(FileBytes(), opened);
}

TEST_F(StatsPageTest, APortraitNumberWithoutAnImageShowsThePlaceholder)
{
    Prepare([](SaveGame& s) { s.SetFace(N, -1); });
    OpenSheet();
    EXPECT_EQ(Portrait(), Resource(":/NOFACE.png"));
    QTest::mouseClick(Control<QPushButton>(Id::IdFace), Qt::LeftButton);
    EXPECT_EQ(save.GetFace(N), 0);

    save.SetFace(N, 100);
    Tab(1);
    Tab(0);
    EXPECT_EQ(Portrait(), Resource(":/NOFACE.png"));
    QTest::mouseClick(Control<QPushButton>(Id::IdFace), Qt::LeftButton);
    EXPECT_EQ(save.GetFace(N), 0);
}

TEST_F(StatsPageTest, TheNameBoxRefusesTypingBeyondThirtyOneCharacters)
{
    OpenSheet();
    Type(Id::IdName, QString(40, u'x'));
    EXPECT_EQ(Control<QLineEdit>(Id::IdName)->text(), QString(31, u'x'));
}

TEST_F(StatsPageTest, TheDescriptionTakesLinesAndStopsAtItsLimit)
{
    OpenSheet();
    Type(Id::IdDescription, "Brave");
    QTest::keyClick(Control<QWidget>(Id::IdDescription), Qt::Key_Return);
    QTest::keyClicks(Control<QWidget>(Id::IdDescription), "Kind");
    Tab(1);
    EXPECT_EQ(save.GetDescription(N), "Brave\r\nKind");

    Tab(0);
    Type(Id::IdDescription, QString(700, u'd'));
    Tab(1);
    EXPECT_EQ(save.GetDescription(N), std::string(649, 'd'));
    EXPECT_TRUE(messages.Shown().isEmpty());
}

namespace {

// A text typed, or put in whole as a paste may bring it, into the name or the description, in
// the game's code page; then the tab is left.
struct GameTextCase {
    TextCodec::Page page;
    int id;
    bool whole;
    std::string text;    // UTF-8
    std::string stored;  // the field afterwards; empty: as it was
    const char* message; // empty: none, and the tab is left
};

std::string Repeat(std::string_view part, int count)
{
    std::string whole;
    for (int i = 0; i < count; ++i)
        whole += part;
    return whole;
}

const std::string kChang = "\u957F"; // 0xB3 0xA4 in 936
const std::string kChangBytes = "\xB3\xA4";

const GameTextCase kGameTextCases[] = {
    {TextCodec::Page::Western, Id::IdName, false, "\u00C9lan \u20AC", "\xC9lan \x80", ""},
    {TextCodec::Page::Western, Id::IdName, false, "\u00C9lan \u03A9", "",
     "The name contains characters the game cannot store: \u03A9"},
    {TextCodec::Page::Cyrillic, Id::IdName, false, "\u0416\u0430\u043D\u043D\u0430", "\xC6\xE0\xED\xED\xE0", ""},
    {TextCodec::Page::Cyrillic, Id::IdDescription, false, "\u00C9", "",
     "The description contains characters the game cannot store: \u00C9"},
    {TextCodec::Page::ChineseFan, Id::IdName, false, "\u957F\u5251 x",
     "\x0E\x20\x0E\xB3\xA4\x07\x20\x0E\xBD\xA3\x07\x0F\x20x", ""},
    // Typing stops where the next character would not fit whole: 15 of them take 30 bytes.
    {TextCodec::Page::ChineseSimplified, Id::IdName, false, Repeat(kChang, 16), Repeat(kChangBytes, 15), ""},
    // Too long all the same: the message, and what is stored ends with a whole character
    // where the field's 31 bytes would cut one in half.
    {TextCodec::Page::ChineseSimplified, Id::IdName, true, Repeat(kChang, 16), Repeat(kChangBytes, 15),
     "The name takes 32 bytes in the game's code page; at most 31 fit."},
    {TextCodec::Page::Western, Id::IdName, true, Repeat("0123456789", 4), "0123456789012345678901234567890",
     "Please enter no more than 31 characters."},
};

void PrintTo(const GameTextCase& c, std::ostream* out)
{
    *out << (c.id == Id::IdName ? "name " : "description ") << (c.whole ? "put in whole " : "typed ") << c.text
         << " in " << TextCodec::Info(c.page).label;
}

class GameTextTest : public StatsPageTest, public ::testing::WithParamInterface<GameTextCase> {};

} // namespace

TEST_P(GameTextTest, IsStoredInTheGamesCodePageOrRefusedWithItsReason)
{
    const GameTextCase& c = GetParam();
    Speak(InPage(c.page));
    const auto field = [&] { return std::string(c.id == Id::IdName ? save.GetName(N) : save.GetDescription(N)); };
    const std::string before = field();
    OpenSheet();
    const QString text = QString::fromStdString(c.text);
    if (!c.whole)
        Type(c.id, text);
    else if (c.id == Id::IdName)
        Control<QLineEdit>(c.id)->setText(text);
    else
        Control<MultiLineBox>(c.id)->SetText(text);
    Tab(1);
    EXPECT_EQ(messages.Shown(), *c.message == '\0' ? QStringList() : QStringList{QString::fromUtf8(c.message)});
    EXPECT_EQ(sheet->CurrentIndex(), *c.message == '\0' ? 1 : 0);
    EXPECT_EQ(field(), c.stored.empty() ? before : c.stored);
}

INSTANTIATE_TEST_SUITE_P(Pages, GameTextTest, ::testing::ValuesIn(kGameTextCases));

TEST_F(StatsPageTest, TheDescriptionCountsTheBytesOfTheGamesCodePage)
{
    Speak(InPage(TextCodec::Page::ChineseFan));
    OpenSheet();
    // 0x0E, then five bytes a character, then 0x0F: 129 characters take 647 bytes.
    Type(Id::IdDescription, QString(130, QChar(0x957F)));
    Tab(1);
    EXPECT_TRUE(messages.Shown().isEmpty());
    EXPECT_EQ(save.GetDescription(N).size(), 647u);
    EXPECT_EQ(TextCodec::Unwrap(save.GetDescription(N)).size(), 258u);
}

TEST_F(StatsPageTest, AnUntouchedWrappedNameKeepsItsBytes)
{
    // A run the game cut short at the field's end: decoding and encoding again would close it.
    const std::string cut = "\x0E\x20\x0E\xB3\xA4\x07\x20\x0E\xBD\xA3\x07";
    PatchFile(TranscribedLayout::At("Name", N), cut + '\0');
    Speak(InPage(TextCodec::Page::ChineseFan));
    OpenSheet();
    EXPECT_EQ(Control<QLineEdit>(Id::IdName)->text(), QString::fromUtf8("\u957F\u5251"));
    Click(QDialogButtonBox::Ok);
    EXPECT_EQ(FileBytes(), opened);
}

TEST_F(StatsPageTest, TheTabKeyWalksTheControlsInLayoutOrder)
{
    OpenSheet();
    Control<QLineEdit>(Id::IdName)->setFocus();
    const std::vector<int> order = {Id::IdLevel, Id::IdBaseLevel,  Id::IdAge,   Id::IdBaseAge,
                                    Id::IdClass, Id::IdExperience, Id::IdMight, Id::IdIntelligence};
    for (const int id : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_TRUE(Control<QWidget>(id)->hasFocus()) << id;
    }
}

TEST_F(StatsPageTest, ReadsItsFieldsInTheirExchangeOrder)
{
    CheckExchangeOrder("stats", true);
}
