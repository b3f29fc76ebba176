#include "dialogs/CharacterPage.h"

#include "model/SaveGame.h"

CharacterPage::CharacterPage(const QString& title, SaveGame& save, int n)
    : PropertyPage(title), save_(save), n_(n), codec_(TextCodec::ForKey(save.GetWords().CodePage())), exchange_(*this)
{
    exchange_.SetCodec(codec_);
}

void CharacterPage::OnSetActive()
{
    LoadFromModel();
    SetModified();
}

bool CharacterPage::OnKillActive()
{
    StoreToModel();
    // The leaving check: the same controls once more; StoreToModel's message is not repeated.
    return exchange_.Recheck();
}

void CharacterPage::OnApply()
{
    // The sheet writes once, after every page stored.
    StoreToModel();
}
