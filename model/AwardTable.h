#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class GameData;

// The game's award texts, indexed by award number, which is also the award's bit in a character
// record: the 74 built into the program, or the installed game's own (its awards.txt, whose
// "A Bit" k is award k - 1), as far as the record's award area reaches. A capital X in a text
// stands for a count the game fills in; it is shown as it is. Copies share the game's texts.
// A default-constructed table is empty until Fill makes it the built-in one.
class AwardTable {
public:
    static constexpr int BuiltInCount = 74; // award numbers 0..73

    static const AwardTable& BuiltIn();
    // The game's table when it has at least one award inside the area (the built-in one otherwise).
    static AwardTable FromGame(const GameData* game);

    void Fill();
    bool IsFilled() const noexcept { return filled_; }
    bool IsFromGame() const noexcept { return texts_ != nullptr; }

    // Award numbers are 0..Count()-1: 74 built in; up to the game's last award otherwise. Bits
    // past them are never shown nor changed. 0 before Fill.
    int Count() const noexcept;

    // The text of award a ("" for a number without an award, such as award 0); none for a
    // outside 0..Count()-1 or before Fill. The view lives as long as a copy of the table.
    std::optional<std::string_view> GetAwardText(int a) const;

    // Appends the Count() texts in award order, the empty ones included.
    void GetAwardTextList(std::vector<std::string>& list) const;

    // The award numbers with a text, ascending.
    std::vector<int> NamedNumbers() const;

private:
    bool filled_ = false;
    std::shared_ptr<const std::vector<std::string>> texts_; // by award number; null: built in
};
