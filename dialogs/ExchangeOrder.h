#pragma once

#include "ui/DataExchange.h"

#include <array>
#include <cstddef>
#include <span>
#include <vector>

// A dialog's exchange order: the ids of its bound controls in the order they are read. The
// order decides which values survive a failed check, and it differs from the layout, so
// bindings are gathered while walking the layout table and then put in this order.
class ExchangeOrder {
public:
    // The bindings sorted by where their ids stand in order; throws std::logic_error when an
    // id is missing from order or bound twice, so that no control is read twice or left out.
    static std::vector<DataExchange::Binding> Sort(std::vector<DataExchange::Binding> bindings,
                                                   std::span<const int> order);

    // True when order lists exactly the given ids, each once (for static_asserts).
    template <std::size_t N, std::size_t M>
    static constexpr bool Lists(const std::array<int, N>& order, const std::array<int, M>& ids)
    {
        if (N != M)
            return false;
        for (const int id : ids) {
            std::size_t count = 0;
            for (const int listed : order)
                count += listed == id ? 1 : 0;
            if (count != 1)
                return false;
        }
        return true;
    }

    // What member holds in each of a table's rows, in row order: the ids to hand to Lists.
    template <class Row, std::size_t N>
    static constexpr std::array<int, N> IdsOf(const std::array<Row, N>& rows, int Row::*member)
    {
        std::array<int, N> ids{};
        for (std::size_t i = 0; i < N; ++i)
            ids[i] = rows[i].*member;
        return ids;
    }
};
