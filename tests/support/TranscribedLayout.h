#pragma once

#include <string>
#include <string_view>
#include <vector>

// The window's fields as tests/data/window-layout.txt transcribes them by hand, apart from the
// model's layout tables: tests that check bytes find them here, so that a wrong offset in a
// model table cannot hide behind the same offset in the test.
class TranscribedLayout {
public:
    struct Row {
        std::string area; // window, record (from a character's record start), effect or entry
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

    // Every row, in the file's order.
    static const std::vector<Row>& Rows();
    // The row of that name; throws std::out_of_range when there is none.
    static const Row& Named(std::string_view name);
    // The window offset of a window field, or of character n's record field.
    static int At(std::string_view name, int n = 1);
};
