#include "service/codec.h"

#include "service/text_rules.h"

namespace pk10 {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// One step of a UTF-8 reader: how many bytes starting at `i` form a well-formed sequence
// (`valid`), or how many make up the maximal ill-formed subpart to replace by one U+FFFD.
struct Utf8Step {
    std::size_t length;
    bool valid;
};

Utf8Step utf8StepAt(std::string_view text, std::size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
        return {1, true};
    }
    std::size_t need = 0;
    unsigned char low = 0x80;  // allowed range of the second byte
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        need = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        need = 2;
        if (lead == 0xE0) {
            low = 0xA0;  // no overlong forms
        } else if (lead == 0xED) {
            high = 0x9F;  // no surrogates
        }
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        need = 3;
        if (lead == 0xF0) {
            low = 0x90;
        } else if (lead == 0xF4) {
            high = 0x8F;  // nothing above U+10FFFF
        }
    } else {
        return {1, false};
    }
    for (std::size_t k = 1; k <= need; ++k) {
        if (i + k >= text.size()) {
            return {k, false};
        }
        const auto b = static_cast<unsigned char>(text[i + k]);
        const unsigned char lo = k == 1 ? low : 0x80;
        const unsigned char hi = k == 1 ? high : 0xBF;
        if (b < lo || b > hi) {
            return {k, false};
        }
    }
    return {need + 1, true};
}

int digitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

bool keptByUrlEscape(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
        return true;
    }
    constexpr std::string_view kKept = "!$'()*+,-.:;=@_~";
    return kKept.find(static_cast<char>(c)) != std::string_view::npos;
}

void appendEscaped(std::string& out, unsigned char c) {
    out += '%';
    out += kHexDigits[c >> 4];
    out += kHexDigits[c & 0x0F];
}

}  // namespace

std::string bytesToHex(std::string_view bytes) {
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        hex += kHexDigits[c >> 4];
        hex += kHexDigits[c & 0x0F];
    }
    return hex;
}

std::string hexToBytes(std::string_view hex) {
    std::string bytes;
    bytes.reserve(hex.size() / 2 + 1);
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const auto value = parseNumber(hex.substr(i, 2), 0);
        bytes += static_cast<char>(static_cast<std::uint32_t>(value) & 0xFFU);
    }
    return bytes;
}

std::int32_t parseNumber(std::string_view text, int base) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    std::uint32_t radix = 0;
    switch (base) {
        case 0:
            radix = 16;
            break;
        case 2:
            radix = 8;
            break;
        case 3:
            radix = 2;
            break;
        default:
            return textToInt(lower);
    }
    // Unsigned arithmetic: long texts wrap instead of overflowing.
    std::uint32_t sum = 0;
    std::uint32_t weight = 1;
    for (auto it = lower.rbegin(); it != lower.rend(); ++it) {
        const int digit = digitValue(*it);
        if (digit > 0 && static_cast<std::uint32_t>(digit) < radix) {
            sum += static_cast<std::uint32_t>(digit) * weight;
        }
        weight *= radix;
    }
    return static_cast<std::int32_t>(sum);
}

std::string urlEscape(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size() * 3);
    for (std::size_t i = 0; i < utf8.size();) {
        const Utf8Step step = utf8StepAt(utf8, i);
        if (!step.valid) {
            for (const char c : kReplacement) {
                appendEscaped(out, static_cast<unsigned char>(c));
            }
        } else {
            for (std::size_t k = 0; k < step.length; ++k) {
                const auto c = static_cast<unsigned char>(utf8[i + k]);
                if (keptByUrlEscape(c)) {
                    out += static_cast<char>(c);
                } else {
                    appendEscaped(out, c);
                }
            }
        }
        i += step.length;
    }
    return out;
}

std::string repairUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        const Utf8Step step = utf8StepAt(bytes, i);
        if (step.valid) {
            out.append(bytes.substr(i, step.length));
        } else {
            out.append(kReplacement);
        }
        i += step.length;
    }
    return out;
}

}  // namespace pk10
