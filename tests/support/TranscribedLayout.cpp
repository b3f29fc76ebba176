#include "tests/support/TranscribedLayout.h"

#include "tests/support/TestData.h"

#include <limits>
#include <sstream>
#include <stdexcept>

std::vector<TranscribedLayout::Row> TranscribedLayout::Rows()
{
    std::vector<Row> rows;
    std::istringstream text{std::string(TestData::WindowLayout)};
    for (std::string line; std::getline(text, line);) {
        if (line.empty() || line.front() == '#')
            continue;
        std::istringstream fields(line);
        Row row;
        std::string sign;
        fields >> row.area >> row.kind >> row.name >> row.offset >> row.width >> sign;
        row.isSigned = sign == "s";
        rows.push_back(row);
    }
    return rows;
}

TranscribedLayout::Row TranscribedLayout::Named(std::string_view name)
{
    for (const Row& row : Rows()) {
        if (row.name == name)
            return row;
    }
    throw std::out_of_range("the layout transcribes no " + std::string(name));
}

int TranscribedLayout::NextOffset(std::string_view name)
{
    const Row named = Named(name);
    int next = std::numeric_limits<int>::max();
    for (const Row& row : Rows()) {
        if (row.area == named.area && row.offset > named.offset && row.offset < next)
            next = row.offset;
    }
    if (next == std::numeric_limits<int>::max())
        throw std::out_of_range("the layout transcribes nothing after " + std::string(name));
    return next;
}
