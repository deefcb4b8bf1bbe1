#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "server/service_errors.h"

namespace pk10 {

// Bodies larger than this are refused before any decoding.
inline constexpr std::size_t kMaxBodyBytes = 64 * 1024;

// What a POST body asks for: a call key ("DATA=GETRAND?<seconds>") or a function call
// ("DATA=<hex>").
struct FormBody {
    enum class Kind { CallKey, Function };
    Kind kind = Kind::Function;
    std::string_view payload;  // the seconds or the hex text
};
// nullopt when the body is neither form.
std::optional<FormBody> parseFormBody(std::string_view body);

// Percent-decoding of the escaped request text; "+" stays "+" since the client escapes
// segments, not forms. nullopt on a broken escape.
std::optional<std::string> percentDecode(std::string_view text);

// Strict hexadecimal: an even number of digits, either case.
bool isStrictHex(std::string_view text);
// The bytes of text that isStrictHex accepted.
std::string strictHexToBytes(std::string_view hex);

// A decoded function request; every member arrives as a JSON string.
struct FunctionCall {
    std::int32_t nonce = 0;
    std::string funname;
    std::string appId;
    std::vector<std::string> params;
};

struct DecodedCall {
    ServiceError error = ServiceError::None;
    FunctionCall call;
};

// The whole request pipeline without a server: hex -> RC4 under the call key -> hex -> RC4
// under the protocol key -> percent escapes -> JSON -> members.
DecodedCall decodeFunctionRequest(std::string_view hex, std::string_view callKey);

// The value of cookie `name` in a Cookie header ("" when absent).
std::string_view cookieValue(std::string_view header, std::string_view name);

}  // namespace pk10
