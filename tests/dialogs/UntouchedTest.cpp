// Untouched means untouched: on saves that look played, looking at everything changes no
// byte, and one edit changes only the bytes of the field edited. Offsets here are written
// out by hand, apart from the model's own tables.
#include "dialogs/CVelkarSheet.h"
#include "dialogs/PartyDialog.h"
#include "model/GameWords.h"
#include "tests/ui/MessageRecorder.h"
#include "text/TextCodec.h"
#include "ui/NumberBox.h"

#include "tests/support/Files.h"
#include "tests/support/LittleEndian.h"
#include "tests/support/SaveBuilder.h"
#include "tests/support/TempDirectory.h"
#include "tests/ui/UiTesting.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabBar>
#include <QTest>
#include <QTreeWidget>
#include <QWheelEvent>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// Window offsets, transcribed from the format's field tables.
constexpr int kClock = 332;
constexpr int kRoster = 376028;
// Character n's own bytes start with its condition table, 4 bytes before the record.
constexpr int Record(int n, int offset)
{
    return 2832 + (n - 1) * 7464 + offset;
}

// Seeds 0 to 4 apart modulo 5: between them every form of the clock and the roster.
constexpr std::uint32_t kSeeds[] = {5, 11, 42, 1003, 65539};

// The ways a window is left: its OK button clicked, Enter or Alt+O in a field, or Escape.
enum class Road { Click, Enter, AltKey, Escape };

class UntouchedTest : public ::testing::Test {
public:
    void Write(std::uint32_t seed, const std::function<void(SaveBuilder&)>& patch = {})
    {
        SaveBuilder builder;
        builder.SetPlayed(seed);
        if (patch)
            patch(builder);
        partyOffset = builder.PartyOffset();
        builder.WriteTo(path);
        before = ReadBytes(path);
    }

    void OpenParty(TextCodec::Page page = TextCodec::Page::Western)
    {
        GameWords words = GameWords::BuiltIn();
        words.SetCodePage(TextCodec::Key(page).toStdString());
        party = std::make_unique<PartyDialog>(path, words);
        ASSERT_TRUE(party->Open());
        UiTesting::ShowActive(*party);
    }

    CVelkarSheet& OpenSheet(int n)
    {
        sheet = std::make_unique<CVelkarSheet>(party->Game(), n, QStringLiteral("save000.dod"), party.get());
        UiTesting::ShowActive(*sheet);
        QApplication::processEvents();
        return *sheet;
    }

    void Press(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    void SwitchTo(SheetTab to)
    {
        const int tab = TabIndex(to);
        UiTesting::ClickTab(*sheet->TabBar(), tab);
        // A page built on its first activation is laid out with the next turn of the event loop.
        QApplication::processEvents();
        sheet->layout()->activate();
        sheet->Page(tab).layout()->activate();
    }
    // A control of the sheet's current tab, or of the party dialog without a sheet.
    template <class T = QWidget>
    T* At(int id) const
    {
        return sheet ? sheet->Page(sheet->CurrentIndex()).Control<T>(id) : party->Control<T>(id);
    }

    // Leaves the window by the road, from field (OK's own button for a click).
    static void Leave(QDialog& window, QAbstractButton& ok, QWidget& field, Road road)
    {
        switch (road) {
        case Road::Click:
            QTest::mouseClick(&ok, Qt::LeftButton);
            break;
        case Road::Enter:
            QTest::keyClick(&field, Qt::Key_Return);
            break;
        case Road::AltKey:
            QTest::keyClick(&field, Qt::Key_O, Qt::AltModifier);
            break;
        case Road::Escape:
            QTest::keyClick(&field, Qt::Key_Escape);
            break;
        }
        for (int i = 0; road == Road::AltKey && i < 100 && window.isVisible(); ++i)
            QTest::qWait(10); // the button shows itself pressed first
    }

    // Every effect button of the party dialog (ids of its spell buttons) or of a page.
    static std::vector<QPushButton*> EffectButtons(const QWidget& window, const std::set<int>& actions)
    {
        std::vector<QPushButton*> buttons;
        for (QPushButton* button : window.findChildren<QPushButton*>()) {
            const int id = button->objectName().toInt();
            if (id >= 1168 && id <= 1207 && !actions.contains(id))
                buttons.push_back(button);
        }
        return buttons;
    }

    // Tabs from the first control of part round its window and checks that every control of
    // part that takes the focus had it.
    static void TabThrough(QWidget& part)
    {
        std::vector<QWidget*> controls;
        for (QWidget* w : part.findChildren<QWidget*>()) {
            if ((w->focusPolicy() & Qt::TabFocus) != 0 && w->isVisibleTo(part.window()) && w->isEnabled() &&
                w->focusProxy() == nullptr)
                controls.push_back(w);
        }
        ASSERT_FALSE(controls.empty());
        controls.front()->setFocus(Qt::TabFocusReason);
        std::set<QWidget*> had;
        for (int i = 0; i < 3 * static_cast<int>(controls.size()) + 20 && QApplication::focusWidget(); ++i) {
            had.insert(QApplication::focusWidget());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        for (QWidget* w : controls)
            EXPECT_TRUE(had.contains(w)) << "never had the focus: " << w->objectName().toStdString();
    }

    // Looks at everything the sheet shows: every tab and its controls, every effect, every item.
    void VisitSheet(int n)
    {
        OpenSheet(n);
        for (int tab = 0; tab < SheetTabCount; ++tab) {
            SwitchTo(static_cast<SheetTab>(tab));
            if (tab == TabIndex(SheetTab::ActiveSpells)) {
                for (QPushButton* button : EffectButtons(sheet->Page(tab), {1202, 1204}))
                    Press(button);
            }
            if (tab == TabIndex(SheetTab::Inventory)) {
                auto* list = At<QListWidget>(1087);
                for (int row = 0; row < list->count(); ++row)
                    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                                      list->visualItemRect(list->item(row)).center());
            }
            TabThrough(sheet->Page(tab));
        }
    }

    void VisitParty()
    {
        for (QPushButton* button : EffectButtons(*party, {1203, 1207}))
            Press(button);
        TabThrough(*party);
    }

    // The window offsets whose bytes differ between the file as written and as it is now.
    std::vector<int> Changed() const
    {
        const Bytes now = ReadBytes(path);
        std::vector<int> offsets;
        for (std::size_t i = 0; i < now.size() && i < before.size(); ++i) {
            if (now[i] != before[i])
                offsets.push_back(static_cast<int>(i) - static_cast<int>(partyOffset));
        }
        return offsets;
    }
    std::int64_t FileValue(int windowOffset, int width) const
    {
        return LoadLE(ReadBytes(path), partyOffset + static_cast<std::size_t>(windowOffset), width);
    }

    TempDirectory folder;
    std::filesystem::path path = folder / "save000.dod";
    std::uint32_t partyOffset = 0;
    MessageRecorder messages;
    Bytes before;
    std::unique_ptr<PartyDialog> party;
    std::unique_ptr<CVelkarSheet> sheet;
};

// One no-edit run: a seed, the code page its game speaks, how the party dialog is left (the
// sheets take the next roads in turn).
struct Look {
    std::uint32_t seed;
    TextCodec::Page page;
    Road party;
};

const Look kLooks[] = {
    {kSeeds[0], TextCodec::Page::Western, Road::Escape},          {kSeeds[1], TextCodec::Page::Greek, Road::Click},
    {kSeeds[2], TextCodec::Page::ChineseSimplified, Road::Enter}, {kSeeds[3], TextCodec::Page::Japanese, Road::AltKey},
    {kSeeds[4], TextCodec::Page::ChineseFan, Road::Click},
};

class LookTest : public UntouchedTest, public ::testing::WithParamInterface<Look> {};

TEST_P(LookTest, LookingAtEverythingAndLeavingByAnyRoadChangesNoByte)
{
    const Look& look = GetParam();
    Write(look.seed);
    OpenParty(look.page);
    VisitParty();
    // The party as stored, then two characters besides it.
    std::vector<int> characters;
    for (int slot = 1; slot <= PartyDialog::MemberCount; ++slot) {
        if (const int member = party->Game().GetPartyMember(slot); member >= 0 && member < PartyDialog::CharacterCount)
            characters.push_back(member + 1);
    }
    const std::size_t members = characters.size();
    ASSERT_GT(members, 0u);
    for (const int n : {1, 50, 2, 49, 3, 48, 4})
        if (characters.size() < members + 2 && std::ranges::find(characters, n) == characters.end())
            characters.push_back(n);
    ASSERT_EQ(characters.size(), members + 2);
    for (std::size_t i = 0; i < characters.size(); ++i) {
        const int n = characters[i];
        SCOPED_TRACE(testing::Message() << "character " << n);
        VisitSheet(n);
        const auto road = static_cast<Road>((static_cast<int>(look.party) + 1 + static_cast<int>(i)) % 4);
        if (road != Road::Escape)
            Press(sheet->Button(QDialogButtonBox::Apply));
        SwitchTo(SheetTab::Stats);
        auto* name = At(1005);
        name->setFocus();
        Leave(*sheet, *sheet->Button(QDialogButtonBox::Ok), *name, road);
        EXPECT_FALSE(sheet->isVisible());
        sheet.reset();
    }
    UiTesting::ShowActive(*party); // as when the modal sheet ends
    auto* year = party->Control<QWidget>(PartyDialog::IdYear);
    year->setFocus();
    Leave(*party, *party->Control<QPushButton>(PartyDialog::IdOk), *year, look.party);
    EXPECT_FALSE(party->isVisible());
    party.reset();
    EXPECT_EQ(messages.Shown(), QStringList{});
    EXPECT_EQ(Changed(), std::vector<int>{});
}

INSTANTIATE_TEST_SUITE_P(FiveSeeds, LookTest, ::testing::ValuesIn(kLooks),
                         [](const auto& info) { return "Seed" + std::to_string(info.param.seed); });

TEST_F(UntouchedTest, TheSheetWritesItsOwnCharacterAndCancelOnThePartyKeepsIt)
{
    Write(kSeeds[1]);
    OpenParty();
    UiTesting::TypeOver(*party->Control<QWidget>(PartyDialog::IdYear), "1190");
    UiTesting::TypeOver(*party->Control<QWidget>(PartyDialog::IdFood), "9"); // the year is stored on leaving
    ASSERT_EQ(party->Game().GetTime().year, 1190);
    OpenSheet(50);
    UiTesting::TypeOver(*At(1010), "250");
    SwitchTo(SheetTab::Condition); // its bytes come before the record
    Press(sheet->Button(QDialogButtonBox::Ok));
    for (const int w : Changed())
        EXPECT_TRUE(w >= Record(50, -4) && w < kRoster) << "window byte " << w << ": not character 50's own";
    EXPECT_EQ(FileValue(Record(50, 848), 2), 250);
    Press(party->Control<QPushButton>(PartyDialog::IdCancel));
    EXPECT_EQ(FileValue(Record(50, 848), 2), 250) << "the sheet's OK stays in the file";
    for (const int w : Changed())
        EXPECT_TRUE(w >= Record(50, 848) && w < Record(50, 850)) << "window byte " << w;
}

TEST_F(UntouchedTest, TheWheelChangesOnlyTheControlWithTheFocus)
{
    Write(kSeeds[2], [](SaveBuilder& b) { // values with room to step up
        b.Put(kClock + 1816, 4, 2750).Put(Record(4, 848), 2, 10);
    });
    const auto turn = [](QWidget* control) {
        SCOPED_TRACE(control->objectName().toStdString());
        auto* list = qobject_cast<QComboBox*>(control);
        const auto shown = [&] {
            return list != nullptr ? QString::number(list->currentIndex()) : static_cast<NumberBox*>(control)->Text();
        };
        const QString before = shown();
        QWheelEvent notch(QPointF(5, 5), control->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(control, &notch);
        EXPECT_EQ(shown(), before) << "no focus: nothing changes";
        control->setFocus();
        QApplication::sendEvent(control, &notch);
        EXPECT_NE(shown(), before) << "with the focus it steps";
    };
    OpenParty();
    turn(party->Control<QWidget>(PartyDialog::IdGold));
    turn(party->Control<QWidget>(PartyDialog::IdMember1 + 1));
    OpenSheet(4);
    turn(At(1062));
    turn(At(1010));
}

// However OK is pressed, the field being typed in is stored first, once: a bad value gives one
// message and keeps the window open, a good one reaches the file. Cancel stores nothing.
struct Confirmed {
    bool onSheet; // character 5's effects; otherwise the party dialog
    int effect;   // the effect button pressed first (0: none)
    int field;    // typed in last, where the road starts
    const char* bad;
    const char* message;
    int offset;         // window offset of the 8 bytes the good value sets to the clock plus added
    std::int64_t added; // 0: the clock itself, set by a year
};

constexpr std::int64_t kFiveDays = 5 * 1440 * 256;
const Confirmed kConfirmed[] = {
    {false, 0, PartyDialog::IdYear, "x", "Please enter an integer.", kClock, 0},
    {false, 1176, 1159, "-", "Please enter a positive integer.", kClock + 2172 + 16 * 8, kFiveDays},
    {true, 1169, 1159, "-", "Please enter an integer.", Record(5, 6704 + 16), kFiveDays},
};

class ConfirmTest : public UntouchedTest, public ::testing::WithParamInterface<std::tuple<Confirmed, Road>> {};

TEST_P(ConfirmTest, StoresTheFieldBeingTypedOnceWhateverTheRoad)
{
    const auto& [editor, road] = GetParam();
    Write(kSeeds[3]);
    const std::int64_t now = FileValue(kClock, 8);
    OpenParty();
    QDialog* window = editor.onSheet ? static_cast<QDialog*>(&OpenSheet(5)) : party.get();
    QAbstractButton* ok =
        editor.onSheet ? sheet->Button(QDialogButtonBox::Ok) : party->Control<QPushButton>(PartyDialog::IdOk);
    if (editor.onSheet)
        SwitchTo(SheetTab::ActiveSpells);
    if (editor.effect != 0) {
        Press(At<QPushButton>(editor.effect));
        for (const int id : {1161, 1163}) // hours and minutes
            UiTesting::TypeOver(*At(id), "0");
    }
    QWidget* field = At(editor.field);
    const auto confirm = [&] { Leave(*window, *ok, *field, road); };
    UiTesting::TypeOver(*field, QString::fromLatin1(editor.bad));
    messages.Clear();
    confirm();
    if (road == Road::Escape) {
        EXPECT_EQ(messages.Shown(), QStringList{});
        EXPECT_FALSE(window->isVisible());
        EXPECT_EQ(Changed(), std::vector<int>{});
        return;
    }
    EXPECT_EQ(messages.Shown(), QStringList{QString::fromLatin1(editor.message)});
    ASSERT_TRUE(window->isVisible());
    // The year moves the clock by whole years; the effects run five days from now.
    UiTesting::TypeOver(*field, editor.added == 0 ? "1190" : "5");
    confirm();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(messages.Shown().size(), 1);
    if (editor.added == 0) {
        SaveGame stored;
        ASSERT_TRUE(stored.Open(path));
        EXPECT_EQ(stored.GetTime().year, 1190);
    } else {
        EXPECT_EQ(FileValue(editor.offset, 8), now + editor.added);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryEditorThatStoresOnLeaving, ConfirmTest,
                         ::testing::Combine(::testing::ValuesIn(kConfirmed),
                                            ::testing::Values(Road::Click, Road::Enter, Road::AltKey, Road::Escape)));

TEST_F(UntouchedTest, NoAltKeyIsSharedWithinAWindow)
{
    Write(kSeeds[0]);
    OpenParty();
    OpenSheet(1);
    // Every marked text under the parts of one window; a letter met twice is noted in repeated.
    const auto marked = [](const std::vector<const QWidget*>& parts, QStringList& repeated) {
        std::map<QChar, QString> taken;
        const auto note = [&](const QString& text) {
            const QRegularExpressionMatch mark = QRegularExpression(QStringLiteral("&([^&])")).match(text);
            if (!mark.hasMatch())
                return;
            const QChar letter = mark.captured(1).front().toLower();
            if (taken.contains(letter))
                repeated.append(taken[letter] + " / " + text);
            taken[letter] = text;
        };
        for (const QWidget* part : parts) {
            for (const QWidget* control : part->findChildren<QWidget*>()) {
                const auto* label = qobject_cast<const QLabel*>(control);
                // The sheet is a child of the party dialog, but a window of its own.
                if (control->window() != part->window())
                    continue;
                if (const auto* button = qobject_cast<const QAbstractButton*>(control))
                    note(button->text());
                else if (label != nullptr && label->buddy() != nullptr)
                    note(label->text());
                else if (const auto* group = qobject_cast<const QGroupBox*>(control))
                    note(group->title());
            }
            if (const auto* tabs = qobject_cast<const QTabBar*>(part)) {
                for (int i = 0; i < tabs->count(); ++i)
                    note(tabs->tabText(i));
            }
        }
        QStringList texts;
        for (const auto& [letter, text] : taken)
            texts.append(UiTesting::Plain(text));
        return texts;
    };
    QStringList repeated;
    QStringList withLetter = marked({party.get()}, repeated);
    for (int tab = 0; tab < SheetTabCount; ++tab) {
        SwitchTo(static_cast<SheetTab>(tab));
        withLetter += marked({&sheet->Page(tab), sheet->ButtonBox(), sheet->TabBar()}, repeated);
    }
    EXPECT_EQ(repeated, QStringList{});
    for (const char* text :
         {"OK", "Cancel", "Apply", "Edit Character", "Add Item", "Replace", "Delete Item", "Add All", "Remove All"})
        EXPECT_TRUE(withLetter.contains(QString::fromLatin1(text))) << text;
}

class SingleEditTest;

// One edit through real input, then OK on the sheet (if open) and on the party dialog, the
// last window left by the edit's road from the field that has the focus.
struct Edit {
    const char* name;
    bool onSheet; // on the sheet of a character; otherwise the party dialog
    std::vector<std::pair<int, int>>
        fields; // offset (from the record on a sheet) and width of every byte it may change
    std::function<void(SingleEditTest&)> edit;
    std::function<void(SingleEditTest&)> check; // what the edited bytes now hold
    Road road = Road::Click;
    std::function<void(SaveBuilder&, int n)> prepare = {};
};

class SingleEditTest : public UntouchedTest, public ::testing::WithParamInterface<Edit> {
public:
    // The character's bytes, in the file now and as written before the edit.
    std::int64_t Value(int recordOffset, int width) const { return FileValue(Record(n, recordOffset), width); }
    std::int64_t Was(int windowOffset, int width) const
    {
        return LoadLE(before, partyOffset + static_cast<std::size_t>(windowOffset), width);
    }
    static std::int64_t Ticks(std::int64_t days, std::int64_t hours, std::int64_t minutes)
    {
        return ((days * 24 + hours) * 60 + minutes) * 256;
    }
    void Click(int id) { Press(At<QAbstractButton>(id)); }
    void Type(int id, const char* text) { UiTesting::TypeOver(*At(id), QString::fromLatin1(text)); }
    void Choose(int id, int index) { UiTesting::ChooseEntry(*At<QComboBox>(id), index); }
    template <class List>
    void ClickFirstRow(int id)
    {
        auto* list = At<List>(id);
        const QModelIndex first = list->model()->index(0, 0);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(first).center());
    }
    int n = 0;
    int value = 0; // what the edit read off the screen, for the check
};

constexpr int kHaste = kClock + 2172 + 16 * 8; // the party's effect entry 8
constexpr int kBless = 6704 + 16;              // a character's effect entry 1
constexpr int kSword = 884 + 2;
constexpr int kMasteryBits[] = {0, 0x40, 0x80, 0x100}; // Novice to Grand
constexpr std::int64_t kInForce = 2'000'000'000;       // past every played clock
const auto kMinutes = [](SingleEditTest& t) { return t.FileValue(kClock, 8) >> 8; };
const auto kInventory = std::pair{1188, 138 * 36 + 126 * 4};

const auto kRetime = [](SingleEditTest& t) {
    t.SwitchTo(SheetTab::ActiveSpells);
    t.Click(1169); // Bless
    t.Type(1159, "2");
    t.Type(1161, "3");
    t.Type(1163, "4");
    t.Click(1172); // Fate
};
const auto kRetimed = [](SingleEditTest& t) {
    EXPECT_EQ(t.Value(kBless, 8), t.FileValue(kClock, 8) + t.Ticks(2, 3, 4));
};
// The award's bit; every other byte of the area as it was.
const auto kAward = [](SingleEditTest& t) {
    for (int b = 0; b < 64; ++b)
        EXPECT_TRUE(b == t.value / 8 || t.Value(962 + b, 1) == t.Was(Record(t.n, 962 + b), 1)) << "award byte " << b;
    return t.Value(962 + t.value / 8, 1) & (0x80 >> (t.value % 8));
};

// clang-format off
const Edit kEdits[] = {
    {"NumberBox", true, {{848, 2}}, [](SingleEditTest& t) { t.Type(1010, "-123"); },
     [](SingleEditTest& t) { EXPECT_EQ(t.Value(848, 2), -123); }, Road::Enter},
    {"Chooser", true, {{846, 1}},
     [](SingleEditTest& t) { t.value = (std::max(t.At<QComboBox>(1062)->currentIndex(), 0) + 3) % 16; t.Choose(1062, t.value); },
     [](SingleEditTest& t) { EXPECT_EQ(t.Value(846, 1), t.value); }},
    {"Name", true, {{164, 32}}, [](SingleEditTest& t) { t.Type(1005, "Zed"); },
     [](SingleEditTest& t) { EXPECT_EQ(t.Value(164, 4), 0x00'64'65'5A); }, Road::AltKey}, // "Zed" and its end
    {"Description", true, {{196, 650}}, [](SingleEditTest& t) { t.Type(1212, "Home"); },
     [](SingleEditTest& t) { EXPECT_EQ(t.Value(196, 5), 0x00'65'6D'6F'48); }, Road::AltKey},
    {"Portrait", true, {{847, 1}, {7136, 4}}, [](SingleEditTest& t) { t.value = t.party->Game().GetFace(t.n); t.Click(1018); },
     [](SingleEditTest& t) {
         const int face = t.value + 1 >= 28 ? 0 : t.value + 1;
         EXPECT_EQ(t.Value(847, 1), static_cast<std::int8_t>(face));
         EXPECT_EQ(t.Value(7136, 4), face);
     }},
    {"Condition", true, {{-4 + 8 * 1, 8}},
     [](SingleEditTest& t) {
         t.SwitchTo(SheetTab::Condition);
         auto* weak = t.At<QCheckBox>(1209);
         if (!weak->isChecked())
             QTest::mouseClick(weak, Qt::LeftButton, {}, QPoint(6, weak->height() / 2));
         t.Type(1108, "3"); // days
         t.Type(1112, "4"); // hours
         t.Press(t.sheet->Button(QDialogButtonBox::Apply));
     },
     [](SingleEditTest& t) { EXPECT_EQ(t.Value(-4 + 8, 8), t.FileValue(kClock, 8) - t.Ticks(3, 4, 0)); }},
    {"SkillLevel", true, {{kSword, 2}},
     [](SingleEditTest& t) { t.SwitchTo(SheetTab::Skills); t.value = t.At<QComboBox>(1042)->currentIndex(); t.Type(1064, "9"); },
     [](SingleEditTest& t) { EXPECT_EQ(t.Value(kSword, 2), 9 | kMasteryBits[t.value]); }, Road::Enter},
    {"MasteryOnly", true, {{kSword, 2}},
     [](SingleEditTest& t) { t.SwitchTo(SheetTab::Skills); t.value = (t.At<QComboBox>(1042)->currentIndex() + 1) % 4; t.Choose(1042, t.value); },
     [](SingleEditTest& t) { EXPECT_EQ(t.Value(kSword, 2), (t.Was(Record(t.n, kSword), 2) & 0x3F) | kMasteryBits[t.value]); }},
    {"CheckBox", true, {{1026 + 1, 1}},
     [](SingleEditTest& t) {
         t.SwitchTo(SheetTab::Spells);
         auto* box = t.At<QCheckBox>(1087); // Fire Bolt
         t.value = box->checkState() == Qt::Checked ? 0 : 1;
         QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
     },
     [](SingleEditTest& t) { EXPECT_EQ(t.Value(1027, 1), t.value); }},
    {"EffectPower", true, {{kBless + 8, 2}},
     [](SingleEditTest& t) { t.SwitchTo(SheetTab::ActiveSpells); t.Click(1169); t.Type(1165, "77"); t.Click(1172); },
     [](SingleEditTest& t) { EXPECT_EQ(t.Value(kBless + 8, 2), 77); }},
    // In force, only the expiry changes; long expired, it comes back with the power and skill shown.
    {"EffectExpiry", true, {{kBless, 8}}, kRetime, kRetimed, Road::Click,
     [](SaveBuilder& b, int n) { b.Put(Record(n, kBless), 8, kInForce); }},
    {"ExpiredEffectRetimed", true, {{kBless, 12}}, kRetime,
     [](SingleEditTest& t) { kRetimed(t); EXPECT_EQ(t.Value(kBless + 8, 4), 0) << "power and skill as shown: none"; },
     Road::Click, [](SaveBuilder& b, int n) { b.Put(Record(n, kBless), 8, 1); }},
    {"AddItem", true, {kInventory},
     [](SingleEditTest& t) { t.SwitchTo(SheetTab::Inventory); UiTesting::ChooseByName(*t.At<QComboBox>(1088), "Amber"); t.Click(1094); },
     [](SingleEditTest& t) {
         int added = 0; // Amber is item 180
         for (int k = 0; k < 138; ++k)
             added += t.Was(Record(t.n, 1188 + 36 * k), 4) == 0 && t.Value(1188 + 36 * k, 4) == 180 ? 1 : 0;
         EXPECT_EQ(added, 1) << "in one free entry";
     }},
    {"ReplaceItem", true, {{1188 + 16, 4}},
     [](SingleEditTest& t) { t.SwitchTo(SheetTab::Inventory); t.ClickFirstRow<QListWidget>(1087); t.Type(1092, "12"); t.Click(1106); },
     [](SingleEditTest& t) { EXPECT_EQ(t.Value(1188 + 16, 4), 12) << "the first entry's charges alone"; }},
    {"DeleteItem", true, {kInventory},
     [](SingleEditTest& t) { t.SwitchTo(SheetTab::Inventory); t.ClickFirstRow<QListWidget>(1087); t.Click(1095); },
     [](SingleEditTest& t) { EXPECT_EQ(t.Value(1188, 4), 0) << "the first entry is free"; }},
    {"AddAward", true, {{962, 64}},
     [](SingleEditTest& t) {
         t.SwitchTo(SheetTab::Awards);
         auto* chooser = t.At<QComboBox>(1101);
         int entry = 0;
         while (t.party->Game().GetAward(t.n, chooser->itemData(entry).toInt()) != 0)
             ++entry;
         t.value = chooser->itemData(entry).toInt();
         t.Choose(1101, entry);
         t.Click(1100);
     },
     [](SingleEditTest& t) { EXPECT_NE(kAward(t), 0); }},
    {"DeleteAward", true, {{962, 64}},
     [](SingleEditTest& t) {
         t.SwitchTo(SheetTab::Awards);
         t.value = t.At<QTreeWidget>(1099)->topLevelItem(0)->data(0, Qt::UserRole).toInt();
         t.ClickFirstRow<QTreeWidget>(1099);
         t.Click(1120);
     },
     [](SingleEditTest& t) { EXPECT_EQ(kAward(t), 0); }},
    {"Minute", false, {{kClock, 8}}, [](SingleEditTest& t) { t.Type(PartyDialog::IdMinute, "17"); },
     [](SingleEditTest& t) { EXPECT_EQ(kMinutes(t) % 60, 17); }, Road::AltKey},
    {"Day", false, {{kClock, 8}}, [](SingleEditTest& t) { t.Type(PartyDialog::IdDay, "17"); },
     [](SingleEditTest& t) { EXPECT_EQ(kMinutes(t) / 1440 % 28, 16); }, Road::Enter},
    {"AmPm", false, {{kClock, 8}},
     [](SingleEditTest& t) { t.Choose(PartyDialog::IdAmPm, 1 - t.At<QComboBox>(PartyDialog::IdAmPm)->currentIndex()); },
     [](SingleEditTest& t) { EXPECT_EQ(kMinutes(t) % 1440 / 60, ((t.Was(kClock, 8) >> 8) % 1440 / 60 + 12) % 24); }},
    {"MemberChooser", false, {{kRoster, 24}}, [](SingleEditTest& t) { t.Choose(PartyDialog::IdMember1, 12); },
     [](SingleEditTest& t) { EXPECT_EQ(t.FileValue(kRoster, 4), 11); }},
    {"PartyEffectPower", false, {{kHaste + 8, 2}},
     [](SingleEditTest& t) { t.Click(1176); t.Type(1165, "5"); t.Click(1202); }, // Haste, then Fly
     [](SingleEditTest& t) { EXPECT_EQ(t.FileValue(kHaste + 8, 2), 5); }},
    {"PartyEffectExpiry", false, {{kHaste, 8}},
     [](SingleEditTest& t) { t.Click(1176); t.Type(1159, "2"); t.Type(1161, "0"); t.Type(1163, "0"); t.Click(1202); },
     [](SingleEditTest& t) { EXPECT_EQ(t.FileValue(kHaste, 8), t.FileValue(kClock, 8) + t.Ticks(2, 0, 0)); },
     Road::Click, [](SaveBuilder& b, int) { b.Put(kHaste, 8, kInForce); }},
    {"Caster", false, {{kHaste + 14, 1}},
     [](SingleEditTest& t) {
         t.Click(1176);
         t.value = t.At<QComboBox>(PartyDialog::IdCaster)->currentIndex() == 3 ? 4 : 3;
         t.Choose(PartyDialog::IdCaster, t.value);
         t.Click(1202);
     },
     [](SingleEditTest& t) { EXPECT_EQ(t.FileValue(kHaste + 14, 1), t.value); }},
};
// clang-format on

TEST_P(SingleEditTest, ChangesOnlyTheEditedFieldAndHoldsWhatWasTyped)
{
    const Edit& e = GetParam();
    for (const auto& [seed, character] : {std::pair{kSeeds[0], 2}, {kSeeds[1], 37}, {kSeeds[2], 50}}) {
        SCOPED_TRACE(testing::Message() << "seed " << seed << ", character " << character);
        n = character;
        Write(seed, [&](SaveBuilder& b) {
            if (e.prepare)
                e.prepare(b, n);
        });
        OpenParty();
        if (e.onSheet)
            OpenSheet(n);
        e.edit(*this);
        QWidget* field = QApplication::focusWidget();
        if (sheet) {
            Leave(*sheet, *sheet->Button(QDialogButtonBox::Ok), *field, e.road);
            EXPECT_FALSE(sheet->isVisible());
            sheet.reset();
            field = party->Control<QWidget>(PartyDialog::IdFood);
        }
        Leave(*party, *party->Control<QPushButton>(PartyDialog::IdOk), *field, e.onSheet ? Road::Click : e.road);
        EXPECT_FALSE(party->isVisible());
        party.reset();
        EXPECT_EQ(messages.Shown(), QStringList{});
        const std::vector<int> changed = Changed();
        EXPECT_FALSE(changed.empty());
        for (const int w : changed) {
            bool inside = false;
            for (const auto& [offset, width] : e.fields) {
                const int at = e.onSheet ? Record(n, offset) : offset;
                inside = inside || (w >= at && w < at + width);
            }
            EXPECT_TRUE(inside) << "window byte " << w;
        }
        e.check(*this);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryKindOfControl, SingleEditTest, ::testing::ValuesIn(kEdits),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
