#pragma once

#include "text/TextCodec.h"
#include "ui/ControlId.h"
#include "ui/DataExchange.h"
#include "ui/FocusLossWatcher.h"

#include "model/PartyRoster.h"
#include "model/SaveGame.h"

#include "ui/EditingDialog.h"

#include <QString>

#include <array>
#include <filesystem>

class SpellEffectEditor;

// The party dialog: food, gold, bank, the game date and time, the twenty spells in
// effect on the party, the five party members, and the character list from which
// "Edit Character" opens the character sheet. A store writes only what the user changed;
// OK stores and saves the whole window; Cancel writes nothing.
//
// Contract: the constructor creates the controls and the (not yet open) SaveGame, which
// the dialog owns for its whole life, and takes the container's file name as caption.
// Open() must then be called once, before the dialog is shown: it opens the saved game
// and shows its values; a save opened for reading only says so in the title ("(read-only)")
// and in a line above the fields, and OK refuses. Open() throws FileError when the file cannot be opened or read,
// and returns false, after the model has shown "Invalid save game file.", when it is no
// saved game; the caller decides what follows (the program ends with status 1).
class PartyDialog : public EditingDialog {
    Q_OBJECT

public:
    // Control ids.
    enum : int {
        IdOk = 1,
        IdCancel = 2,
        IdEditCharacter = 3,
        IdCopyFrom = 4,
        IdCharacters = 1001,
        IdFood = 1002,
        IdGold = 1004,
        IdBank = 1006,
        IdHour = 1008,
        IdMinute = 1010,
        IdDay = 1012,
        IdYear = 1014,
        IdSkill = 1188,
        IdCaster = 1189,
        IdAddAll = 1203,
        IdMonth = 1205,
        IdAmPm = 1206,
        IdRemoveAll = 1207,
        IdMember1 = 1209,      // 1209..1213: slots 1 to 5
        IdReadOnlyNote = 1290, // the line under the title saying why nothing can be saved
    };

    // The model's counts, under the names the dialog uses.
    static constexpr int MemberCount = WindowLayout::RosterSlotCount;
    static constexpr int CharacterCount = CharacterLayout::CharacterCount;
    static constexpr int EffectCount = WindowLayout::PartySpellCount;
    static constexpr const char* GapMessage = PartyRoster::GapMessage;
    static constexpr const char* ChooseTargetMessage = "Select the character to replace in the list first.";

    explicit PartyDialog(const std::filesystem::path& path, QWidget* parent = nullptr);
    // words: what the saved game's game speaks (the built-in words, Western, by default); the
    // sheet and its pages take them from the saved game.
    PartyDialog(const std::filesystem::path& path, const GameWords& words, QWidget* parent = nullptr);

    // Once, before the dialog is shown.
    bool Open();

    // The open saved game, as far as the dialog has stored into it.
    SaveGame& Game() { return save_; }

    // Controls are found by id: the id in decimal is the control's object name.
    template <class T>
    T* Control(int id) const
    {
        return ControlId::Find<T>(*this, id);
    }

private:
    // Food, gold, bank and the six date fields; the spell-effect fields are the editor's.
    static constexpr int HeldValueCount = 9;

    void BuildControls();
    QWidget* BuildSuppliesAndDate();
    QWidget* BuildMembers();
    QWidget* BuildCharacters();
    void SetBindings();

    void LoadFromModel();
    bool StoreToModel();
    void RefreshCharacterLists();
    void OnDateFieldLeft();
    void EditCharacter();
    void CopyFrom();
    void OnOk();

    std::filesystem::path path_;
    GameWords words_;
    TextCodec codec_;
    QString caption_;
    SaveGame save_;
    std::array<int, HeldValueCount> values_{};
    std::array<int, MemberCount> shownMembers_{}; // the member choosers as last loaded or stored
    DataExchange exchange_;
    SpellEffectEditor* effects_ = nullptr;
    FocusLossWatcher focusLoss_;
};
