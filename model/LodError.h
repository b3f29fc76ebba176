#pragma once

#include <stdexcept>

// A damaged archive, entry or picture. what() says what is wrong in words fit for a message:
// "the directory runs past the end of the file", "item042: the packed data is damaged".
class LodError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
