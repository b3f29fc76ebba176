#pragma once

#include "ui/EditingDialog.h"

#include <QDialogButtonBox>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class PropertyPage;
class QPushButton;
class QTabBar;
class QTabWidget;

// A modal dialog with a row of tabs and OK, Cancel and Apply. Leaving a tab asks its
// page first, and the page may refuse; Apply is enabled by a page's SetModified().
class PropertySheet : public EditingDialog {
    Q_OBJECT

public:
    explicit PropertySheet(const QString& caption, QWidget* parent = nullptr);
    ~PropertySheet() override;

    // Largest size the sheet takes: room for a title bar and a panel on a 1366 x 768 screen.
    static constexpr int MaximumWidth = 1366;
    static constexpr int MaximumHeight = 740;

    // Makes a page of the same kind that is only measured, never shown or applied.
    using Measure = std::function<std::unique_ptr<PropertyPage>()>;

    // Pages are added in tab order; the sheet does not take ownership. The sheet is sized
    // before it is first shown to hold its largest page (from a measured copy of each); a page
    // taller than the largest sheet scrolls inside its tab. After the sheet's first paint the
    // pages not yet built are built one per turn of the event loop, so that no tab's first
    // activation costs more than a later one; a page loads and applies only once activated.
    void AddPage(PropertyPage& page, Measure measure = {});

    int PageCount() const { return static_cast<int>(pages_.size()); }
    PropertyPage& Page(int index) const { return *pages_.at(static_cast<std::size_t>(index)); }
    int CurrentIndex() const { return current_; }

    QTabBar* TabBar() const;
    QPushButton* Button(QDialogButtonBox::StandardButton which) const;
    const QDialogButtonBox* ButtonBox() const { return buttons_; }

    void SetModified(bool changed);

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    // Runs after every created page applied, at OK and Apply: where the sheet writes what its
    // pages stored. A throw (inside the sheet's error guard) keeps the sheet open.
    virtual void OnApplied() {}
    // Runs first at OK and Apply; a throw refuses them before any page stores anything.
    virtual void BeforeApply() {}

private:
    friend class PropertyPage;
    // Stops driving the pages once one of them is being destroyed.
    void Detach();

    // The sheet's fixed size, from the pages' measured sizes.
    void FitToPages();

    void OnTabChanged(int index);
    void ShowTab(int index);
    // Builds the page's controls and fits them into its tab; nothing is loaded. A page built
    // ahead of its tab is also shown once out of sight.
    void Build(int index);
    static void ShowOutOfSight(QWidget& tab);
    // One page not yet built, then the next on a later turn of the event loop.
    void BuildNext();
    void Activate(int index);
    void OnButton(QAbstractButton* button);
    // The current page's deactivation, then Apply on every page that has been activated.
    bool ApplyAll();

    QTabWidget* tabs_;
    QDialogButtonBox* buttons_;
    std::vector<PropertyPage*> pages_;
    std::vector<Measure> measures_;
    bool fitted_ = false;
    bool painted_ = false;
    int current_ = -1;
    bool reverting_ = false; // tab changes made by the sheet itself
};
