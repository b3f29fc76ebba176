#include "tests/support/TranscribedLayout.h"

#include "tests/support/TestData.h"

#include <sstream>
#include <stdexcept>

const std::vector<TranscribedLayout::Row>& TranscribedLayout::Rows()
{
    static const std::vector<Row> rows = [] {
        std::vector<Row> read;
        std::istringstream text{std::string(TestData::WindowLayout)};
        for (std::string line; std::getline(text, line);) {
            if (line.empty() || line.front() == '#')
                continue;
            std::istringstream columns(line);
            Row row;
            std::string sign;
            if (!(columns >> row.area >> row.kind >> row.name >> row.offset >> row.width >> sign))
                throw std::runtime_error("window-layout.txt: a row without six columns: " + line);
            row.isSigned = sign == "s";
            read.push_back(row);
        }
        return read;
    }();
    return rows;
}

const TranscribedLayout::Row& TranscribedLayout::Named(std::string_view name)
{
    for (const Row& row : Rows()) {
        if (row.name == name)
            return row;
    }
    throw std::out_of_range("the layout transcribes no " + std::string(name));
}

int TranscribedLayout::At(std::string_view name, int n)
{
    const Row& row = Named(name);
    if (row.area == "record")
        return RecordStart(n) + row.offset;
    if (row.area != "window")
        throw std::out_of_range(std::string(name) + " is not a field of the window or of a record");
    return row.offset;
}
