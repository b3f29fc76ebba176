#pragma once

#include "tests/dialogs/SheetFixture.h"

#include <QString>

#include <cstddef>
#include <functional>
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
    // Switches to the Stats tab (storing the page), and back (loading it again).
    void Leave();
    void Return();
    // The text of the label that names the control.
    QString LabelOf(int id) const;

    // Every text on the page is shown whole, and the sheet keeps to a modest size.
    void ExpectNothingClipped() const;

    // Empties each field in turn, in the order given, and tries to leave the page: it must
    // refuse with "Please enter an integer." and focus that field. verify(i) then checks the
    // model, and the field gets restore typed back.
    void FailEachInTurn(const std::vector<int>& ids, const QString& restore,
                        const std::function<void(std::size_t)>& verify);

private:
    int tab_;
};
