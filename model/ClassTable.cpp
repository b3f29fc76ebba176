#include "model/ClassTable.h"

#include "model/GameData.h"
#include "model/GameTextTable.h"
#include "model/Vocabulary.h"

#include <algorithm>

namespace {

// The game's ways of leaving a class number unused.
bool NamesAClass(std::string_view name)
{
    return !GameTextTable::IsBlank(name) && name != "Delete me" && name != "n/u";
}

static_assert(Vocabulary::ClassNames.size() == ClassTable::BuiltInCount);

} // namespace

const ClassTable& ClassTable::BuiltIn()
{
    static const ClassTable table = [] {
        ClassTable built;
        built.Fill();
        return built;
    }();
    return table;
}

ClassTable ClassTable::FromGame(const GameData* game)
{
    if (game == nullptr || !game->HasClassTable())
        return BuiltIn();
    auto names = std::make_shared<std::vector<std::string>>();
    for (const std::string& name : game->ClassNames()) {
        if (static_cast<int>(names->size()) > MaxNumber)
            break;
        names->push_back(NamesAClass(name) ? name : std::string());
    }
    if (std::all_of(names->begin(), names->end(), [](const std::string& name) { return name.empty(); }))
        return BuiltIn();
    ClassTable table;
    table.filled_ = true;
    table.names_ = std::move(names);
    return table;
}

void ClassTable::Fill()
{
    filled_ = true;
    names_.reset();
}

std::optional<std::string_view> ClassTable::GetClassName(int n) const
{
    if (!filled_ || n < 0)
        return std::nullopt;
    const auto index = static_cast<std::size_t>(n);
    if (names_ == nullptr)
        return index < Vocabulary::ClassNames.size() ? std::optional(Vocabulary::ClassNames[index]) : std::nullopt;
    if (index >= names_->size() || (*names_)[index].empty())
        return std::nullopt;
    return (*names_)[index];
}

std::vector<int> ClassTable::NamedNumbers() const
{
    std::vector<int> numbers;
    const int count = !filled_ ? 0 : names_ == nullptr ? BuiltInCount : static_cast<int>(names_->size());
    for (int n = 0; n < count; ++n) {
        if (GetClassName(n))
            numbers.push_back(n);
    }
    return numbers;
}
