#include "service/protocol_keys.h"

#include <array>
#include <string_view>

namespace pk10 {

std::string protocolKey() {
    constexpr std::array<int, 6> numbers{7, 31, 9, 58, 2, 64};
    constexpr std::array<std::string_view, 5> letters{"k", "qz", "m", "x", "vb"};
    std::string key;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        key += std::to_string(numbers[i]);
        if (i < letters.size()) {
            key += letters[i];
        }
    }
    return key;
}

std::string replyKey(std::int32_t nonce) {
    return std::to_string(static_cast<std::int64_t>(nonce) * kReplyKeyFactor);
}

}  // namespace pk10
