#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The game's award texts, indexed by award number, which is also the award's bit
// in a character record. A capital X in a text stands for a count the game fills
// in; it is shown as it is.
class AwardTable {
public:
    static constexpr int Count = 74; // award numbers 0..73

    void Fill();
    bool IsFilled() const noexcept;

    // The text of award a (award 0 has the empty text); none for a outside 0..Count-1
    // or before Fill. The view refers to static data.
    std::optional<std::string_view> GetAwardText(int a) const;

    // Appends the Count texts in award order, the empty text of award 0 included.
    // Appends nothing before Fill.
    void GetAwardTextList(std::vector<std::string>& list) const;

private:
    bool filled_ = false;
};
