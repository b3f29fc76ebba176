#pragma once

#include "ui/DataExchange.h"

#include <array>
#include <cstddef>
#include <utility>
#include <vector>

// Bindings gathered while walking a page's table in layout order, each with its rank in
// the page's exchange order; handed over sorted by that rank.
class RankedBindings {
public:
    void Add(int rank, DataExchange::Binding binding) { ranked_.emplace_back(rank, std::move(binding)); }
    std::vector<DataExchange::Binding> Sorted();

    // True when the ranks are 1..N, each once: no control is read twice or left out.
    template <std::size_t N>
    static constexpr bool ArePermutation(const std::array<int, N>& ranks)
    {
        std::array<bool, N> seen{};
        for (const int rank : ranks) {
            if (rank < 1 || rank > static_cast<int>(N) || seen[static_cast<std::size_t>(rank - 1)])
                return false;
            seen[static_cast<std::size_t>(rank - 1)] = true;
        }
        return true;
    }

private:
    std::vector<std::pair<int, DataExchange::Binding>> ranked_;
};
