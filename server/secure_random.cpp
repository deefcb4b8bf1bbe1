#include "server/secure_random.h"

#include <sys/random.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace pk10 {

std::string secureRandomBytes(std::size_t count) {
    std::string bytes(count, '\0');
    std::size_t filled = 0;
    while (filled < count) {
        const ssize_t got = getrandom(bytes.data() + filled, count - filled, 0);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            // getrandom only fails on a kernel without it; nothing random can be had then.
            std::abort();
        }
        filled += static_cast<std::size_t>(got);
    }
    return bytes;
}

std::uint32_t secureRandomBelow(std::uint32_t bound) {
    // Reject the top partial range so every value is equally likely.
    const std::uint32_t limit = UINT32_MAX - UINT32_MAX % bound;
    while (true) {
        std::uint32_t value = 0;
        const std::string bytes = secureRandomBytes(sizeof value);
        std::memcpy(&value, bytes.data(), sizeof value);
        if (value < limit) {
            return value % bound;
        }
    }
}

std::string secureRandomKey(std::size_t length) {
    constexpr std::string_view kAlphabet = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::string key;
    key.reserve(length);
    while (key.size() < length) {
        // 252 = 7 * 36: bytes at or above it are dropped to keep the letters uniform.
        for (const char byte : secureRandomBytes(length)) {
            const auto value = static_cast<unsigned char>(byte);
            if (value < 252 && key.size() < length) {
                key += kAlphabet[value % kAlphabet.size()];
            }
        }
    }
    return key;
}

}  // namespace pk10
