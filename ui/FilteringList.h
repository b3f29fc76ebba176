#pragma once

#include <functional>

class QComboBox;

// A drop-down list the user can type into to filter its entries by any part of their text,
// case-insensitively; what is typed never becomes an entry of its own. When the box lets go
// of the focus, a typed text that names an entry (in any case) chooses it; any other text
// gives way to the entry chosen before.
class FilteringList {
public:
    // chosen: run when a typed text chooses another entry.
    static void Make(QComboBox& list, std::function<void(int entry)> chosen = {});

    // The entry the text in the box names, in any case; -1 when it names none.
    static int Named(const QComboBox& list);
};
