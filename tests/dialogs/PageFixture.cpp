#include "tests/dialogs/PageFixture.h"

#include "ui/PropertyPage.h"

#include "tests/ui/UiTesting.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QTest>

namespace {

// What a sheet may grow to and still fit a small screen.
constexpr int kMaximumWidth = 1000;
constexpr int kMaximumHeight = 760;

template <class T>
void ExpectWhole(const QWidget& page)
{
    for (const T* widget : page.findChildren<T*>()) {
        // A control the page hid on purpose (one of two sharing a place) takes no room.
        if (widget->testAttribute(Qt::WA_WState_ExplicitShowHide) && widget->isHidden())
            continue;
        const QString name = widget->objectName() + u' ' + widget->property("text").toString();
        EXPECT_TRUE(widget->isVisible()) << name.toStdString();
        EXPECT_GE(widget->width(), widget->sizeHint().width()) << name.toStdString();
        EXPECT_GE(widget->height(), widget->sizeHint().height()) << name.toStdString();
    }
}

} // namespace

void PageFixture::OpenPage()
{
    OpenSheet();
    Return();
    ASSERT_EQ(sheet->CurrentIndex(), tab_);
}

PropertyPage& PageFixture::Page() const
{
    return sheet->Page(tab_);
}

void PageFixture::TypeInto(int id, const QString& text)
{
    UiTesting::TypeOver(*On<QWidget>(id), text);
}

void PageFixture::ClickBox(int id)
{
    QWidget* box = On<QWidget>(id);
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(6, box->height() / 2));
}

void PageFixture::Leave()
{
    Tab(StatsTab);
}

void PageFixture::Return()
{
    Tab(tab_);
    // Controls built on the first activation appear with the next turn of the event loop;
    // then the sheet is fitted to the page, as before any user sees it.
    QApplication::processEvents();
    sheet->layout()->activate();
    Page().layout()->activate();
}

QString PageFixture::LabelOf(int id) const
{
    const QWidget* control = On<QWidget>(id);
    for (const QLabel* label : Page().findChildren<QLabel*>()) {
        if (control != nullptr && label->buddy() == control)
            return UiTesting::Plain(label->text());
    }
    return {};
}

void PageFixture::ExpectNothingClipped() const
{
    ExpectWhole<QLabel>(Page());
    ExpectWhole<QAbstractButton>(Page());
    ExpectWhole<QComboBox>(Page());
    ExpectWhole<QGroupBox>(Page());
    EXPECT_LE(sheet->width(), kMaximumWidth);
    EXPECT_LE(sheet->height(), kMaximumHeight);
}

void PageFixture::FailEachInTurn(const std::vector<int>& ids, const QString& restore,
                                 const std::function<void(std::size_t)>& verify)
{
    for (std::size_t i = 0; i < ids.size(); ++i) {
        SCOPED_TRACE(ids[i]);
        messages.Clear();
        TypeInto(ids[i], QString());
        Leave();
        EXPECT_EQ(sheet->CurrentIndex(), tab_);
        EXPECT_EQ(messages.Shown(), QStringList{"Please enter an integer."});
        EXPECT_TRUE(On<QWidget>(ids[i])->hasFocus());
        verify(i);
        TypeInto(ids[i], restore);
    }
}
