#include "server/request_decoder.h"

#include <algorithm>
#include <array>

#include "service/codec.h"
#include "service/crypto.h"
#include "service/json_value.h"
#include "service/protocol_keys.h"

namespace pk10 {
namespace {

// Bodies are hex text of a few hundred digits, read twice per call: a table, not branches.
constexpr std::array<std::int8_t, 256> kHexValues = [] {
    std::array<std::int8_t, 256> values{};
    values.fill(-1);
    for (int i = 0; i < 10; ++i) {
        values['0' + i] = static_cast<std::int8_t>(i);
    }
    for (int i = 0; i < 6; ++i) {
        values['A' + i] = static_cast<std::int8_t>(10 + i);
        values['a' + i] = static_cast<std::int8_t>(10 + i);
    }
    return values;
}();

int hexDigit(char c) {
    return kHexValues[static_cast<unsigned char>(c)];
}

bool isDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

std::optional<FormBody> parseFormBody(std::string_view body) {
    constexpr std::string_view kField = "DATA=";
    constexpr std::string_view kCallKey = "GETRAND?";
    if (!body.starts_with(kField)) {
        return std::nullopt;
    }
    body.remove_prefix(kField.size());
    if (body.starts_with(kCallKey)) {
        std::string_view seconds = body.substr(kCallKey.size());
        // The client's clock may be set before 1970 local time; a sign is allowed.
        if (!isDigits(seconds.starts_with('-') ? seconds.substr(1) : seconds)) {
            return std::nullopt;
        }
        return FormBody{FormBody::Kind::CallKey, seconds};
    }
    if (body.empty()) {
        return std::nullopt;
    }
    return FormBody{FormBody::Kind::Function, body};
}

bool isStrictHex(std::string_view text) {
    return text.size() % 2 == 0 &&
           std::all_of(text.begin(), text.end(), [](char c) { return hexDigit(c) >= 0; });
}

std::string strictHexToBytes(std::string_view hex) {
    std::string bytes(hex.size() / 2, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>(hexDigit(hex[2 * i]) * 16 + hexDigit(hex[2 * i + 1]));
    }
    return bytes;
}

std::optional<std::string> percentDecode(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size()) {
            return std::nullopt;
        }
        const int high = hexDigit(text[i + 1]);
        const int low = hexDigit(text[i + 2]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return out;
}

DecodedCall decodeFunctionRequest(std::string_view hex, std::string_view callKey) {
    DecodedCall result;
    if (!isStrictHex(hex)) {
        result.error = ServiceError::BadHex;
        return result;
    }
    const std::string inner = rc4(callKey, strictHexToBytes(hex));
    if (!isStrictHex(inner)) {
        result.error = ServiceError::Undecryptable;
        return result;
    }
    const std::optional<std::string> json =
        percentDecode(rc4(protocolKey(), strictHexToBytes(inner)));
    JsonValue request;
    if (!json || !json->starts_with('{') || !request.parse(*json) ||
        request.type() != json_type::kObject) {
        result.error = ServiceError::Undecryptable;
        return result;
    }

    int randType = json_type::kNone;
    int funType = json_type::kNone;
    int appType = json_type::kNone;
    const std::string rand = request.memberText("rand", &randType);
    result.call.funname = request.memberText("funname", &funType);
    result.call.appId = request.memberText("appid", &appType);
    JsonArray params;
    if (randType != json_type::kString || funType != json_type::kString ||
        appType != json_type::kString || !request.memberValue("param", params)) {
        result.error = ServiceError::Malformed;
        return result;
    }
    std::vector<int> types;
    if (params.elements(result.call.params, types) < 0 ||
        std::any_of(types.begin(), types.end(), [](int t) { return t != json_type::kString; })) {
        result.error = ServiceError::Malformed;
        return result;
    }
    // The client's nonce is 0..9999; more digits could not come from it.
    if (!isDigits(rand) || rand.size() > 4) {
        result.error = ServiceError::BadParameters;
        return result;
    }
    result.call.nonce = std::stoi(rand);
    return result;
}

std::string_view cookieValue(std::string_view header, std::string_view name) {
    while (!header.empty()) {
        const std::size_t end = std::min(header.find(';'), header.size());
        std::string_view pair = header.substr(0, end);
        header.remove_prefix(std::min(end + 1, header.size()));
        while (!pair.empty() && pair.front() == ' ') {
            pair.remove_prefix(1);
        }
        if (pair.size() > name.size() && pair.starts_with(name) && pair[name.size()] == '=') {
            return pair.substr(name.size() + 1);
        }
    }
    return {};
}

}  // namespace pk10
