#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pk10 {

// Splits at every occurrence of `separator`. Empty pieces between separators are kept; a
// trailing separator adds no empty last piece; an empty text gives no pieces.
std::vector<std::string> splitText(std::string_view text, std::string_view separator);

// Reads the leading integer of a text: full-width forms count as their ASCII forms, leading
// blanks are skipped, an optional sign is read, then the longest run of digits. A text that does
// not start with a number gives 0; values beyond the 32-bit range saturate.
std::int32_t textToInt(std::string_view text);

// Replaces every full-width character that has an ASCII form (U+FF01..U+FF5E, U+3000) by it.
std::string foldFullWidth(std::string_view text);

// Two-digit form used in forecasts and by the service: 1 -> "01", 10 -> "10".
std::string twoDigits(int number);

}  // namespace pk10
