#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// The 13-digit corporate number (法人番号) as typed and as stored in the company
// record.
namespace ledger {

// Empty or exactly 13 ASCII digits.
bool IsCorpNumberText(std::string_view text);

// Characters 1-7 as a number × 1,000,000 + characters 8-13 as a number; an empty
// part counts 0. Only meaningful for a text that passes IsCorpNumberText.
std::int64_t CorpNumberFromText(std::string_view text);

// "%.13d" of the number; empty for 0.
std::string CorpNumberText(std::int64_t number);

}  // namespace ledger
