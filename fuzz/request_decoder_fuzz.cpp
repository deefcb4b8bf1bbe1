// The service's decoding of a function request. The first byte picks what the rest is:
//   0: the hex text of a request body as it arrives;
//   1: any plain text, encrypted as the client encrypts a request;
//   2: members of a request (split at NUL) the client builds, which must decode unchanged.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "server/request_decoder.h"
#include "service/codec.h"
#include "service/json_value.h"
#include "service/service_request.h"

namespace {

constexpr std::string_view kCallKey = "k3j9x0a1b2c3d4e5";

void checkDecoded(const pk10::DecodedCall& decoded) {
    if (decoded.error == pk10::ServiceError::None &&
        (decoded.call.nonce < 0 || decoded.call.nonce > 9999)) {
        __builtin_trap();
    }
}

std::vector<std::string_view> splitAtNul(std::string_view text) {
    std::vector<std::string_view> parts;
    for (std::size_t end = 0; (end = text.find('\0')) != std::string_view::npos;) {
        parts.push_back(text.substr(0, end));
        text.remove_prefix(end + 1);
    }
    parts.push_back(text);
    return parts;
}

void roundTrip(std::string_view text, int nonce) {
    const std::vector<std::string_view> parts = splitAtNul(text);
    pk10::JsonValue request;
    request.reset();
    request.setMember("rand", std::to_string(nonce));
    request.setMember("funname", parts[0]);
    request.setMember("appid", parts.size() > 1 ? parts[1] : "1112");
    pk10::JsonArray params;
    params.reset();
    for (std::size_t i = 2; i < parts.size(); ++i) {
        params.append(parts[i]);
    }
    request.setMemberValue("param", params);
    const std::string hex =
        pk10::ServiceRequest::encryptBody(pk10::urlEscape(request.toText()), kCallKey);
    const pk10::DecodedCall decoded = pk10::decodeFunctionRequest(hex, kCallKey);
    if (decoded.error != pk10::ServiceError::None || decoded.call.nonce != nonce ||
        decoded.call.funname != pk10::repairUtf8(parts[0]) ||
        decoded.call.params.size() != (parts.size() > 2 ? parts.size() - 2 : 0)) {
        __builtin_trap();
    }
    for (std::size_t i = 2; i < parts.size(); ++i) {
        if (decoded.call.params[i - 2] != pk10::repairUtf8(parts[i])) {
            __builtin_trap();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    switch (data[0] % 3) {
        case 0:
            checkDecoded(pk10::decodeFunctionRequest(rest, kCallKey));
            (void)pk10::parseFormBody(rest);
            (void)pk10::percentDecode(rest);
            (void)pk10::cookieValue(rest, "PK10SID");
            break;
        case 1:
            checkDecoded(pk10::decodeFunctionRequest(
                pk10::ServiceRequest::encryptBody(rest, kCallKey), kCallKey));
            break;
        default:
            roundTrip(rest, static_cast<int>(size % 10000));
            break;
    }
    return 0;
}
