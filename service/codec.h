#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pk10 {

// The text codecs of the service protocol. All are total: any input gives a result.

// Each byte as two upper-case hex digits, no separators.
std::string bytesToHex(std::string_view bytes);

// Two characters at a time, each pair read with parseNumber in base 0 (its low byte is kept);
// a lone last character is read as one hex digit. Either case is accepted.
std::string hexToBytes(std::string_view hex);

// Reads a number after lower-casing the text. Base 1 (default) reads a leading decimal number
// by the text-to-integer rule; bases 0, 2 and 3 read the digits from the right in radix 16, 8
// and 2, a character that is no digit of the radix counting as 0. Sums wrap at 32 bits.
std::int32_t parseNumber(std::string_view text, int base = 1);

// Percent-escapes a UTF-8 text the way the service expects (the Windows UrlEscapeW rules with
// SEGMENT_ONLY | PERCENT | AS_UTF8): letters, digits and ! $ ' ( ) * + , - . : ; = @ _ ~ stay,
// every other byte becomes %XX (upper case). Invalid UTF-8 is escaped as U+FFFD.
std::string urlEscape(std::string_view utf8);

// The bytes as valid UTF-8: every ill-formed sequence (maximal subpart) becomes U+FFFD.
std::string repairUtf8(std::string_view bytes);

}  // namespace pk10
