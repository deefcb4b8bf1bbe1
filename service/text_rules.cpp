#include "service/text_rules.h"

#include <algorithm>
#include <limits>

namespace pk10 {
namespace {

// Decodes the full-width form at `text[i]`, if there is one; returns its ASCII form and the
// number of bytes it takes (0 when the bytes at `i` are no full-width form).
std::pair<char, std::size_t> fullWidthAt(std::string_view text, std::size_t i) {
    if (i + 3 > text.size()) {
        return {0, 0};
    }
    const auto b0 = static_cast<unsigned char>(text[i]);
    const auto b1 = static_cast<unsigned char>(text[i + 1]);
    const auto b2 = static_cast<unsigned char>(text[i + 2]);
    if (b0 == 0xE3 && b1 == 0x80 && b2 == 0x80) {
        return {' ', 3};  // U+3000 ideographic space
    }
    if (b0 != 0xEF || (b2 & 0xC0) != 0x80) {
        return {0, 0};
    }
    // U+FF01..U+FF3F are EF BC 81..BF, U+FF40..U+FF5E are EF BD 80..9E.
    if (b1 == 0xBC && b2 >= 0x81) {
        return {static_cast<char>(0x21 + (b2 - 0x81)), 3};
    }
    if (b1 == 0xBD && b2 <= 0x9E) {
        return {static_cast<char>(0x60 + (b2 - 0x80)), 3};
    }
    return {0, 0};
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

std::vector<std::string> splitText(std::string_view text, std::string_view separator) {
    std::vector<std::string> pieces;
    if (text.empty()) {
        return pieces;
    }
    if (separator.empty()) {
        pieces.emplace_back(text);
        return pieces;
    }
    std::size_t start = 0;
    for (std::size_t hit = text.find(separator); hit != std::string_view::npos;
         hit = text.find(separator, start)) {
        pieces.emplace_back(text.substr(start, hit - start));
        start = hit + separator.size();
    }
    if (start < text.size()) {
        pieces.emplace_back(text.substr(start));
    }
    return pieces;
}

std::string foldFullWidth(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto [ascii, length] = fullWidthAt(text, i);
        if (length != 0) {
            out.push_back(ascii);
            i += length;
        } else {
            out.push_back(text[i]);
            ++i;
        }
    }
    return out;
}

std::int32_t textToInt(std::string_view text) {
    // Reads character by character with folding on the fly, so the common ASCII case allocates
    // nothing.
    std::size_t i = 0;
    auto peek = [&](std::size_t& length) -> char {
        if (i >= text.size()) {
            length = 0;
            return 0;
        }
        const auto [ascii, fullLength] = fullWidthAt(text, i);
        if (fullLength != 0) {
            length = fullLength;
            return ascii;
        }
        length = 1;
        return text[i];
    };
    std::size_t length = 0;
    char c = peek(length);
    while (length != 0 && isBlank(c)) {
        i += length;
        c = peek(length);
    }
    bool negative = false;
    if (length != 0 && (c == '+' || c == '-')) {
        negative = c == '-';
        i += length;
        c = peek(length);
    }
    std::int64_t value = 0;
    constexpr std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    while (length != 0 && c >= '0' && c <= '9') {
        value = std::min(value * 10 + (c - '0'), limit);
        i += length;
        c = peek(length);
    }
    if (negative) {
        return static_cast<std::int32_t>(-value);
    }
    return static_cast<std::int32_t>(std::min(value, limit - 1));
}

std::string twoDigits(int number) {
    std::string text = std::to_string(number);
    if (number >= 0 && number < 10) {
        text.insert(text.begin(), '0');
    }
    return text;
}

}  // namespace pk10
