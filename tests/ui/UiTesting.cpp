#include "tests/ui/UiTesting.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QLabel>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <ostream>

void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace UiTesting {

void ShowActive(QWidget& window)
{
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

void TypeText(QWidget& widget, const QString& text)
{
    for (const QChar c : text) {
        const Qt::Key key = c.isDigit() ? Qt::Key(Qt::Key_0 + c.digitValue()) : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Press, &widget, key, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, &widget, key, QString(c), Qt::NoModifier);
    }
}

void TypeOver(QWidget& control, const QString& text)
{
    QTest::mouseClick(&control, Qt::LeftButton, Qt::NoModifier, QPoint(6, control.height() / 2));
    QTest::keyClick(&control, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&control, Qt::Key_Delete);
    TypeText(control, text);
}

void ClickTab(QTabBar& tabs, int index)
{
    QTest::mouseClick(&tabs, Qt::LeftButton, Qt::NoModifier, tabs.tabRect(index).center());
}

QString Plain(QString text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&')
            text.remove(i, 1); // "&&" keeps one
    }
    return text;
}

QLabel* LabelOf(const QWidget& root, const QWidget* control)
{
    for (QLabel* label : root.findChildren<QLabel*>()) {
        if (control != nullptr && label->buddy() == control)
            return label;
    }
    return nullptr;
}

void ChooseEntry(QComboBox& list, int index)
{
    // An editable list opens from its arrow; a click on its text only places the cursor.
    const QPoint arrow(list.width() - 6, list.height() / 2);
    QTest::mouseClick(&list, Qt::LeftButton, Qt::NoModifier, list.isEditable() ? arrow : list.rect().center());
    QAbstractItemView* view = list.view();
    ASSERT_TRUE(view->isVisible());
    QTest::keyClick(view, Qt::Key_Home);
    for (int i = 0; i < index; ++i)
        QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_Return);
    ASSERT_FALSE(view->isVisible());
}

QStringList Offered(QComboBox& list, const QString& typed)
{
    TypeOver(list, typed);
    QStringList offered;
    const QAbstractItemView* popup = list.completer()->popup();
    if (!popup->isVisible())
        return offered;
    for (int row = 0; row < popup->model()->rowCount(); ++row)
        offered.append(popup->model()->index(row, 0).data().toString());
    return offered;
}

void ChooseByName(QComboBox& list, const QString& name)
{
    TypeOver(list, name);
    QAbstractItemView* popup = list.completer()->popup();
    ASSERT_TRUE(popup->isVisible()) << name.toStdString();
    int row = 0;
    while (row < popup->model()->rowCount() && popup->model()->index(row, 0).data().toString() != name)
        ++row;
    ASSERT_LT(row, popup->model()->rowCount()) << name.toStdString() << " is not offered";
    for (int i = 0; i <= row; ++i)
        QTest::keyClick(popup, Qt::Key_Down);
    QTest::keyClick(popup, Qt::Key_Return);
    ASSERT_EQ(list.currentText(), name);
}

void WhenModal(const std::function<bool(QWidget&)>& action, bool& ran)
{
    QTimer::singleShot(0, [action, &ran] {
        QWidget* window = QApplication::activeModalWidget();
        ASSERT_NE(window, nullptr) << "no modal window opened";
        ran = action(*window);
        ASSERT_TRUE(ran) << "the modal window is a " << window->metaObject()->className();
    });
}

} // namespace UiTesting
