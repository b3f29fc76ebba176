#pragma once

#include <QObject>
#include <QStringList>

#include <functional>
#include <iosfwd>

class QComboBox;
class QLabel;
class QString;
class QTabBar;
class QWidget;

// Lets GoogleTest print texts readably in its failure reports.
void PrintTo(const QString& text, std::ostream* out);

// Helpers shared by the widget tests: real input, the way a user gives it.
namespace UiTesting {

// Shows the window and makes it the active one, so that focus changes happen.
void ShowActive(QWidget& window);

// Types the text key by key; unlike QTest::keyClicks, any character may be in it.
void TypeText(QWidget& widget, const QString& text);

// Clicks into the control near its left edge, selects its text and types over it.
void TypeOver(QWidget& control, const QString& text);

// Clicks the tab, as the mouse does.
void ClickTab(QTabBar& tabs, int index);

// A control's text as it reads, without the '&' that marks its Alt-key letter.
QString Plain(QString text);

// The label naming the control (its buddy) among root's children, or null.
QLabel* LabelOf(const QWidget& root, const QWidget* control);

// Opens the drop-down list with the mouse and picks entry index with the keyboard.
void ChooseEntry(QComboBox& list, int index);

// Types into a list that filters as you type and returns the entries its popup offers.
QStringList Offered(QComboBox& list, const QString& typed);

// Types the name into a list that filters as you type and picks it from what is offered.
void ChooseByName(QComboBox& list, const QString& name);

// Runs action on the next modal window of type T once it is up (inside its event loop); ran
// says it did.
void WhenModal(const std::function<bool(QWidget&)>& action, bool& ran);
template <class T>
void WhenModal(std::function<void(T&)> action, bool& ran)
{
    WhenModal(
        [action = std::move(action)](QWidget& window) {
            T* typed = qobject_cast<T*>(&window);
            if (typed != nullptr)
                action(*typed);
            return typed != nullptr;
        },
        ran);
}

} // namespace UiTesting
