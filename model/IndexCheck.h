#pragma once

#include <stdexcept>
#include <string>

// Throws std::out_of_range naming what when value lies outside first..last.
inline void CheckIndex(int value, int first, int last, const char* what)
{
    if (value < first || value > last)
        throw std::out_of_range(std::string(what) + " " + std::to_string(value) + " outside " + std::to_string(first) +
                                ".." + std::to_string(last));
}
