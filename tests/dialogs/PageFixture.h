#pragma once

#include "tests/dialogs/SheetFixture.h"
#include "ui/NumberBox.h"

#include <QString>

#include <cstddef>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

class PropertyPage;

// The sheet opened on one of its pages. Control ids repeat from page to page, so every
// lookup here stays inside that page.
class PageFixture : public SheetFixture {
protected:
    static constexpr int StatsTab = TabIndex(SheetTab::Stats);

    explicit PageFixture(int tab) : tab_(tab) {}

    // Opens the sheet and switches to the page, which loads it.
    void OpenPage();
    PropertyPage& Page() const;
    template <class T>
    T* On(int id) const
    {
        return Page().findChild<T*>(QString::number(id));
    }
    void TypeInto(int id, const QString& text);
    // Clicks a check box on its box, as the mouse does.
    void ClickBox(int id);
    // Switches to the Stats tab (storing the page; from Stats, to the next tab), and back
    // (loading it again).
    void Leave();
    void Return();
    // The text of the label that names the control.
    QString LabelOf(int id) const;

    // Every text on the page is shown whole, and the sheet keeps to a modest size.
    void ExpectNothingClipped() const;

    // Number boxes with their up-down (spin 0: none) and its range, and the text of the label
    // naming each (a null label is not looked at).
    struct NumberField {
        int id;
        int spin;
        QString label = {};
        int minimum = -NumberBox::UpDownLimit;
        int maximum = NumberBox::UpDownLimit;
    };
    void ExpectNumberBoxes(const std::vector<NumberField>& fields) const;

    // Checks the page against its transcribed exchange order (ExchangeOrderCheck), the store
    // seen through a second sheet; prepare runs on each fresh page, onView on each second one.
    // A page that stores nothing when a check fails (stores false) gets no second sheet.
    void CheckExchangeOrder(std::string_view dialog, bool stores, const std::function<void()>& prepare = {},
                            const std::function<void(PropertyPage&)>& onView = {});

private:
    int tab_;
    std::unique_ptr<CVelkarSheet> view_;
};
