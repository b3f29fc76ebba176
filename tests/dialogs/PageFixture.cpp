#include "tests/dialogs/PageFixture.h"

#include "tests/dialogs/ExchangeOrderCheck.h"

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
    Tab(tab_ == StatsTab ? StatsTab + 1 : StatsTab);
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
    const QLabel* label = UiTesting::LabelOf(Page(), On<QWidget>(id));
    return label != nullptr ? UiTesting::Plain(label->text()) : QString();
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

void PageFixture::ExpectNumberBoxes(const std::vector<NumberField>& fields) const
{
    for (const NumberField& field : fields) {
        SCOPED_TRACE(field.id);
        const NumberBox* box = On<NumberBox>(field.id);
        ASSERT_NE(box, nullptr);
        if (!field.label.isNull()) {
            EXPECT_EQ(LabelOf(field.id), field.label);
        }
        EXPECT_EQ(box->SpinId(), field.spin);
        if (field.spin != 0) {
            EXPECT_EQ(box->Minimum(), field.minimum);
            EXPECT_EQ(box->Maximum(), field.maximum);
        }
    }
}

void PageFixture::CheckExchangeOrder(std::string_view dialog, bool stores, const std::function<void()>& prepare,
                                     const std::function<void(PropertyPage&)>& onView)
{
    const auto own = save.GetCharacterBytes(N);
    const Bytes start(own.begin(), own.end());
    ExchangeOrderCheck::Drive drive;
    drive.open = [&]() -> QWidget& {
        view_.reset();
        save.RestoreCharacterBytes(N, start);
        OpenPage();
        if (prepare)
            prepare();
        return Page();
    };
    drive.read = [&] {
        messages.Clear();
        Leave();
        EXPECT_EQ(sheet->CurrentIndex(), tab_);
        return messages.Shown();
    };
    if (stores) {
        drive.view = [&]() -> QWidget& {
            view_ = std::make_unique<CVelkarSheet>(save, N, QStringLiteral("view"));
            UiTesting::ShowActive(*view_);
            UiTesting::ClickTab(*view_->TabBar(), tab_);
            QApplication::processEvents();
            if (onView)
                onView(view_->Page(tab_));
            return view_->Page(tab_);
        };
    }
    ExchangeOrderCheck::Run(dialog, drive);
    view_.reset();
}
