// hexToBytes of any text; upper-case hex of any bytes must read back unchanged.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "service/codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string bytes = pk10::hexToBytes(text);
    if (bytes.size() != (text.size() + 1) / 2) {
        __builtin_trap();
    }
    if (pk10::hexToBytes(pk10::bytesToHex(text)) != text) {
        __builtin_trap();
    }
    (void)pk10::urlEscape(text);
    (void)pk10::repairUtf8(text);
    (void)pk10::parseNumber(text, static_cast<int>(size % 4));
    return 0;
}
