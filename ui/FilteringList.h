#pragma once

class QComboBox;

// A drop-down list the user can type into to filter its entries by any part of their text,
// case-insensitively; what is typed never becomes an entry of its own.
class FilteringList {
public:
    static void Make(QComboBox& list);
};
