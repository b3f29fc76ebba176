#pragma once

#include <string>
#include <string_view>
#include <vector>

// The window's fields as tests/data/window-layout.txt transcribes them, apart from the
// model's own tables, for the tests to find bytes by.
class TranscribedLayout {
public:
    struct Row {
        std::string area; // window, record or effect
        std::string kind;
        std::string name;
        int offset = 0;
        int width = 0;
        bool isSigned = false;
    };

    // Character n's record (n from 1) starts at 2832 + (n - 1) * 7464 in the window.
    static constexpr int FirstRecord = 2832;
    static constexpr int RecordSize = 7464;
    static constexpr int RecordStart(int n) { return FirstRecord + (n - 1) * RecordSize; }

    static std::vector<Row> Rows();
    // The row of that name; throws std::out_of_range when there is none.
    static Row Named(std::string_view name);
    // Where the next field of the same area begins after the named one.
    static int NextOffset(std::string_view name);
};
