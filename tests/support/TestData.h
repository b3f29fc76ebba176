#pragma once

#include <string_view>

// Transcriptions the tests pin the model against, built into the tests from tests/data/ so
// that they are found wherever a test runs (under Wine too).
namespace TestData {
extern const std::string_view WindowLayout;  // window-layout.txt
extern const std::string_view Vocabulary;    // vocabulary.txt
extern const std::string_view ExchangeOrder; // exchange-order.txt
} // namespace TestData
