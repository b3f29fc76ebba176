#include "ui/PropertySheet.h"

#include "ui/ErrorGuard.h"
#include "ui/Mnemonics.h"
#include "ui/PropertyPage.h"

#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

PropertySheet::PropertySheet(const QString& caption, QWidget* parent)
    : EditingDialog(parent), tabs_(new QTabWidget(this)),
      buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this))
{
    setWindowTitle(caption);
    // Every tab stays in view; the sheet grows to fit them rather than scroll them.
    tabs_->tabBar()->setUsesScrollButtons(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(buttons_);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    SetModified(false);
    Mnemonics::Assign(*buttons_);
    connect(tabs_, &QTabWidget::currentChanged, this, &PropertySheet::OnTabChanged);
    connect(buttons_, &QDialogButtonBox::clicked, this, &PropertySheet::OnButton);
}

PropertySheet::~PropertySheet()
{
    Detach();
}

void PropertySheet::Detach()
{
    disconnect(tabs_, nullptr, this, nullptr);
    for (PropertyPage* page : pages_)
        page->sheet_ = nullptr;
    pages_.clear();
    current_ = -1;
}

void PropertySheet::AddPage(PropertyPage& page)
{
    page.sheet_ = this;
    pages_.push_back(&page);
    reverting_ = true; // adding the first tab makes it current; that is no activation
    tabs_->addTab(&page, page.Title());
    reverting_ = false;
}

QTabBar* PropertySheet::TabBar() const
{
    return tabs_->tabBar();
}

QPushButton* PropertySheet::Button(QDialogButtonBox::StandardButton which) const
{
    return buttons_->button(which);
}

void PropertySheet::SetModified(bool changed)
{
    buttons_->button(QDialogButtonBox::Apply)->setEnabled(changed);
}

void PropertySheet::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (current_ < 0 && !pages_.empty())
        Activate(0);
}

void PropertySheet::OnTabChanged(int index)
{
    if (reverting_ || index == current_)
        return;
    const int leaving = current_;
    // The tab widget has already switched; the page being left stays in view while it
    // decides, so that a refusal can put the focus on its failing control.
    if (leaving >= 0)
        ShowTab(leaving);
    bool leave = leaving < 0;
    if (!leave)
        ErrorGuard::Run([&] { leave = Page(leaving).OnKillActive(); });
    if (leave)
        Activate(index);
}

void PropertySheet::ShowTab(int index)
{
    reverting_ = true;
    tabs_->setCurrentIndex(index);
    reverting_ = false;
}

void PropertySheet::Activate(int index)
{
    current_ = index;
    ShowTab(index);
    PropertyPage& page = Page(index);
    ErrorGuard::Run([&] {
        page.Create();
        page.OnSetActive();
    });
}

bool PropertySheet::ApplyAll()
{
    bool applied = false;
    ErrorGuard::Run([&] {
        if (current_ >= 0 && !Page(current_).OnKillActive())
            return;
        for (PropertyPage* page : pages_) {
            if (page->IsCreated())
                page->OnApply();
        }
        OnApplied();
        applied = true;
    });
    return applied;
}

void PropertySheet::OnButton(QAbstractButton* button)
{
    switch (buttons_->standardButton(button)) {
    case QDialogButtonBox::Ok:
        if (ApplyAll())
            accept();
        break;
    case QDialogButtonBox::Apply:
        if (ApplyAll())
            SetModified(false);
        break;
    case QDialogButtonBox::Cancel:
        reject();
        break;
    default:
        break;
    }
}
