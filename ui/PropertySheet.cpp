#include "ui/PropertySheet.h"

#include "ui/ErrorGuard.h"
#include "ui/PropertyPage.h"

#include <QPushButton>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <map>
#include <typeindex>

PropertySheet::PropertySheet(const QString& caption, QWidget* parent)
    : EditingDialog(parent), tabs_(new QTabWidget(this)),
      buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this))
{
    setWindowTitle(caption);
    // Every tab stays in view.
    tabs_->tabBar()->setUsesScrollButtons(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(buttons_);
    SetModified(false);
    // The program's own words and letters, whatever the toolkit's language; "&Add Item" has
    // the A on the Inventory tab.
    buttons_->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&OK"));
    buttons_->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("&Cancel"));
    buttons_->button(QDialogButtonBox::Apply)->setText(QStringLiteral("A&pply"));
    for (QAbstractButton* button : buttons_->buttons())
        KeepFocusOnClick(*button);
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

void PropertySheet::AddPage(PropertyPage& page, Measure measure)
{
    page.sheet_ = this;
    pages_.push_back(&page);
    measures_.push_back(std::move(measure));
    auto* scroller = new QScrollArea;
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidgetResizable(true);
    scroller->setWidget(&page);
    reverting_ = true; // adding the first tab makes it current; that is no activation
    tabs_->addTab(scroller, page.Title());
    reverting_ = false;
}

void PropertySheet::FitToPages()
{
    // The sizes of a kind of page do not change while the program runs: measured once.
    static std::map<std::type_index, QSize> measured;
    QSize area;
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        const std::type_index kind(typeid(*pages_[i]));
        if (!measured.contains(kind) && measures_[i]) {
            const std::unique_ptr<PropertyPage> copy = measures_[i]();
            copy->Create();
            measured[kind] = copy->sizeHint();
        }
        if (measured.contains(kind))
            area = area.expandedTo(measured[kind]);
    }
    area = area.expandedTo(QSize(0, 0));
    for (int i = 0; i < tabs_->count(); ++i)
        tabs_->widget(i)->setMinimumSize(area);
    layout()->activate();
    // Beyond the largest sheet the pages scroll: give back what does not fit.
    const QSize over = sizeHint() - QSize(MaximumWidth, MaximumHeight);
    if (over.width() > 0 || over.height() > 0) {
        area -= QSize(std::max(over.width(), 0), std::max(over.height(), 0));
        for (int i = 0; i < tabs_->count(); ++i)
            tabs_->widget(i)->setMinimumSize(area);
        layout()->activate();
    }
    setFixedSize(sizeHint().boundedTo(QSize(MaximumWidth, MaximumHeight)));
    fitted_ = true;
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
    // Sized before the dialog centres itself on its parent, and never again.
    if (!fitted_)
        FitToPages();
    QDialog::showEvent(event);
    if (current_ < 0 && !pages_.empty())
        Activate(0);
}

void PropertySheet::paintEvent(QPaintEvent* event)
{
    EditingDialog::paintEvent(event);
    if (!painted_) {
        painted_ = true;
        QTimer::singleShot(0, this, &PropertySheet::BuildNext);
    }
}

void PropertySheet::BuildNext()
{
    if (!isVisible())
        return;
    const auto unbuilt = std::ranges::find_if(pages_, [](const PropertyPage* page) { return !page->IsCreated(); });
    if (unbuilt == pages_.end())
        return;
    Build(static_cast<int>(unbuilt - pages_.begin()));
    QTimer::singleShot(0, this, &PropertySheet::BuildNext);
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

void PropertySheet::Build(int index)
{
    PropertyPage& page = Page(index);
    if (page.IsCreated())
        return;
    ErrorGuard::Run([&] {
        page.Create();
        QWidget* tab = tabs_->widget(index);
        if (index != tabs_->currentIndex())
            ShowOutOfSight(*tab);
        // The controls came after the tab was laid out: fill the tab with them now, or scroll
        // where they need more room than it has; styled now, not when first shown.
        page.ensurePolished();
        page.layout()->activate();
        const auto* scroller = qobject_cast<const QScrollArea*>(tab);
        page.resize(scroller->viewport()->size().expandedTo(page.minimumSizeHint()));
    });
}

void PropertySheet::ShowOutOfSight(QWidget& tab)
{
    // A widget's first showing costs more than any later one: its pending moves and resizes,
    // its show events (a combo box measures its items then, and the page lays out again) and
    // its accessible interfaces. Shown and hidden again in one turn, under the current tab
    // and with updates off, nothing is painted and the mouse does not meet it.
    tab.lower();
    tab.setUpdatesEnabled(false);
    tab.show();
    tab.hide();
    tab.setUpdatesEnabled(true);
}

void PropertySheet::Activate(int index)
{
    current_ = index;
    ShowTab(index);
    Build(index);
    PropertyPage& page = Page(index);
    page.activated_ = true;
    ErrorGuard::Run([&] { page.OnSetActive(); });
}

bool PropertySheet::ApplyAll()
{
    bool applied = false;
    ErrorGuard::Run([&] {
        BeforeApply();
        if (current_ >= 0 && !Page(current_).OnKillActive())
            return;
        for (PropertyPage* page : pages_) {
            if (page->WasActivated())
                page->OnApply();
        }
        OnApplied();
        applied = true;
    });
    return applied;
}

void PropertySheet::OnButton(QAbstractButton* button)
{
    const QDialogButtonBox::StandardButton which = buttons_->standardButton(button);
    if ((which == QDialogButtonBox::Ok || which == QDialogButtonBox::Apply) && !StoreFieldBeingTyped())
        return;
    switch (which) {
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
