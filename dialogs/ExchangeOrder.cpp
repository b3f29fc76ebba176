#include "dialogs/ExchangeOrder.h"

#include <algorithm>
#include <stdexcept>
#include <string>

std::vector<DataExchange::Binding> ExchangeOrder::Sort(std::vector<DataExchange::Binding> bindings,
                                                       std::span<const int> order)
{
    if (bindings.size() != order.size())
        throw std::logic_error("the exchange order lists " + std::to_string(order.size()) +
                               " controls, the table binds " + std::to_string(bindings.size()));
    std::vector<DataExchange::Binding> sorted;
    sorted.reserve(bindings.size());
    for (const int id : order) {
        const auto found = std::find_if(bindings.begin(), bindings.end(), [id](const auto& b) { return b.id == id; });
        if (found == bindings.end())
            throw std::logic_error("control " + std::to_string(id) +
                                   " is in the exchange order but bound once at most");
        sorted.push_back(std::move(*found));
        found->id = -1; // taken
    }
    return sorted;
}
