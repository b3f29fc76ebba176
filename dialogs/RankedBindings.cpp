#include "dialogs/RankedBindings.h"

#include <algorithm>

std::vector<DataExchange::Binding> RankedBindings::Sorted()
{
    std::sort(ranked_.begin(), ranked_.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<DataExchange::Binding> bindings;
    bindings.reserve(ranked_.size());
    for (auto& entry : ranked_)
        bindings.push_back(std::move(entry.second));
    ranked_.clear();
    return bindings;
}
