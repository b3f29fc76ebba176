#pragma once

#include <string>
#include <string_view>
#include <vector>

// The window's fields as tests/data/window-layout.txt transcribes them by hand, apart from the
// model's layout tables: tests that check bytes take their offsets from here, so that a wrong
// offset in a model table cannot hide behind the same offset in the test.
namespace LayoutTranscription {

struct Field {
    std::string area; // window, record (from a character's record start), effect, entry
    std::string kind;
    std::string name;
    int offset = 0;
    int width = 0;
    bool isSigned = false;
};

// Where character n's record starts in the window, and its size, as the transcription gives them.
inline constexpr int FirstRecord = 2832;
inline constexpr int RecordSize = 7464;

// Every row, in the file's order.
const std::vector<Field>& Fields();
// The row of that name; throws std::out_of_range when there is none.
const Field& Named(std::string_view name);
// The window offset of a window field, or of character n's record field.
int At(std::string_view name, int n = 1);
// The window offset of character n's record offset.
inline int Record(int n, int offset)
{
    return FirstRecord + (n - 1) * RecordSize + offset;
}

} // namespace LayoutTranscription
