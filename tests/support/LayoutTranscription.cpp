#include "tests/support/LayoutTranscription.h"

#include "tests/support/TestData.h"

#include <sstream>
#include <stdexcept>

namespace LayoutTranscription {

const std::vector<Field>& Fields()
{
    static const std::vector<Field> fields = [] {
        std::vector<Field> rows;
        std::istringstream text{std::string(TestData::WindowLayout)};
        for (std::string line; std::getline(text, line);) {
            if (line.empty() || line.front() == '#')
                continue;
            std::istringstream columns(line);
            Field row;
            std::string sign;
            if (!(columns >> row.area >> row.kind >> row.name >> row.offset >> row.width >> sign))
                throw std::runtime_error("window-layout.txt: a row without six columns: " + line);
            row.isSigned = sign == "s";
            rows.push_back(row);
        }
        return rows;
    }();
    return fields;
}

const Field& Named(std::string_view name)
{
    for (const Field& field : Fields()) {
        if (field.name == name)
            return field;
    }
    throw std::out_of_range("window-layout.txt has no field " + std::string(name));
}

int At(std::string_view name, int n)
{
    const Field& field = Named(name);
    if (field.area == "record")
        return Record(n, field.offset);
    if (field.area != "window")
        throw std::out_of_range(std::string(name) + " is not a field of the window or of a record");
    return field.offset;
}

} // namespace LayoutTranscription
