#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class GameData;

// The names of character classes by class number: the 16 built into the program, or the
// installed game's own (its class.txt, where the number is the row's position). A row the game
// marks as unused ("Delete me", "n/u", or no name) names no class. Copies share the game's rows.
// A default-constructed table is empty until Fill makes it the built-in one.
class ClassTable {
public:
    static constexpr int BuiltInCount = 16;
    // The record keeps the class in a signed byte: rows past this number cannot be stored.
    static constexpr int MaxNumber = 127;

    static const ClassTable& BuiltIn();
    // The game's table when it names at least one class (the built-in table otherwise).
    static ClassTable FromGame(const GameData* game);

    void Fill();
    bool IsFilled() const noexcept { return filled_; }
    bool IsFromGame() const noexcept { return names_ != nullptr; }

    // The name of class n, bytes in the game's code page; none for a number the table does not name.
    std::optional<std::string_view> GetClassName(int n) const;
    // The numbers the table names, ascending.
    std::vector<int> NamedNumbers() const;

private:
    bool filled_ = false;
    std::shared_ptr<const std::vector<std::string>> names_; // by number, "" for none; null: built in
};
