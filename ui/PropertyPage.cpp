#include "ui/PropertyPage.h"

#include "ui/Mnemonics.h"
#include "ui/PropertySheet.h"

PropertyPage::PropertyPage(const QString& title, QWidget* parent) : QWidget(parent), title_(title)
{}

PropertyPage::~PropertyPage()
{
    // Removing this tab would otherwise make the sheet activate a page being destroyed.
    if (sheet_ != nullptr)
        sheet_->Detach();
}

void PropertyPage::SetModified(bool changed)
{
    if (sheet_ != nullptr)
        sheet_->SetModified(changed);
}

void PropertyPage::Create()
{
    if (created_)
        return;
    created_ = true;
    OnCreate();
    // The sheet's own buttons keep their letters.
    Mnemonics::Assign(*this, sheet_ != nullptr ? sheet_->ButtonBox() : nullptr);
}
