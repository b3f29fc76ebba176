#pragma once

#include "text/TextCodec.h"
#include "ui/DataExchange.h"
#include "ui/PropertyPage.h"

class SaveGame;

// What every page of the character sheet shares: the saved game, the character number,
// the exchange table, and the lifecycle: read the model when shown, store it when left
// (then check the controls once more), store at Apply. A store writes only the fields the
// user changed since the page last loaded.
class CharacterPage : public PropertyPage {
    Q_OBJECT

public:
    CharacterPage(const QString& title, SaveGame& save, int n);

protected:
    SaveGame& Game() const { return save_; }
    int Number() const { return n_; }
    DataExchange& Exchange() { return exchange_; }
    // The code page of the saved game's texts.
    const TextCodec& Codec() const { return codec_; }

    virtual void LoadFromModel() {}
    virtual void StoreToModel() {}

    void OnSetActive() override;
    bool OnKillActive() override;
    void OnApply() override;

private:
    SaveGame& save_;
    int n_;
    TextCodec codec_;
    DataExchange exchange_;
};
