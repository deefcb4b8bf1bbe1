#include "server/service_protocol.h"

#include <algorithm>
#include <charconv>

#include "server/draw_texts.h"
#include "service/codec.h"
#include "service/crypto.h"
#include "service/json_value.h"
#include "service/protocol_keys.h"

namespace pk10 {
namespace {

// A "select_draw" asks for 1..500 draws: the client's history holds 50, and the store keeps
// the newest 500 at hand.
constexpr int kMaxSelectCount = static_cast<int>(DrawStore::kRecentCount);

ServiceError keyError(CallKeySealer::OpenStatus status) {
    switch (status) {
        case CallKeySealer::OpenStatus::Ok:
            return ServiceError::None;
        case CallKeySealer::OpenStatus::Expired:
            return ServiceError::ExpiredKey;
        case CallKeySealer::OpenStatus::Reused:
            return ServiceError::ReusedKey;
        case CallKeySealer::OpenStatus::Missing:
        case CallKeySealer::OpenStatus::Invalid:
            return ServiceError::MissingKey;
    }
    return ServiceError::MissingKey;
}

std::optional<int> strictCount(std::string_view text) {
    int value = 0;
    if (text.empty() || text.size() > 3) {
        return std::nullopt;
    }
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// Appends the JSON text of a string as the JSON writer spells it: UTF-8 kept (broken sequences
// replaced), quote, backslash and control characters escaped. The replies of every call are
// written this way rather than through a document and its allocations.
void appendJsonString(std::string& out, std::string_view text) {
    std::string repaired;
    if (std::any_of(text.begin(), text.end(),
                    [](char c) { return static_cast<unsigned char>(c) >= 0x80; })) {
        repaired = repairUtf8(text);
        text = repaired;
    }
    out += '"';
    for (const char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    constexpr char kHex[] = "0123456789abcdef";
                    out += "\\u00";
                    out += kHex[(c >> 4) & 0x0F];
                    out += kHex[c & 0x0F];
                } else {
                    out += c;
                }
        }
    }
    out += '"';
}

// {"data":TEXT}: the payload of the draw functions.
std::string dataPayload(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 16);
    out += "{\"data\":";
    appendJsonString(out, text);
    out += '}';
    return out;
}

}  // namespace

ServiceProtocol::ServiceProtocol(ProtocolSettings settings, CallKeySealer& sealer,
                                 const DrawStore& store, const Clock& clock)
    : settings_(std::move(settings)), sealer_(sealer), store_(store), clock_(clock) {}

std::string ServiceProtocol::envelope(std::string_view errcode, std::string_view msg,
                                      std::string_view data) {
    std::string out;
    out.reserve(errcode.size() + msg.size() + data.size() + 40);
    out += "{\"errcode\":";
    appendJsonString(out, errcode);
    out += ",\"msg\":";
    appendJsonString(out, msg);
    out += ",\"data\":";
    appendJsonString(out, data);
    out += '}';
    return out;
}

ProtocolReply ServiceProtocol::failure(ServiceError error, std::string function) {
    const ServiceErrorText text = errorText(error);
    return {envelope(text.errcode, text.msg, ""), "", std::move(function),
            std::string(text.errcode)};
}

ProtocolReply ServiceProtocol::tooLong() {
    return failure(ServiceError::TooLong);
}

std::string ServiceProtocol::encryptReplyData(std::string_view json, std::int32_t nonce) {
    const std::string inner = bytesToHex(rc4(replyKey(nonce), json));
    return bytesToHex(rc4(protocolKey(), inner));
}

ProtocolReply ServiceProtocol::handle(std::string_view body, std::string_view callKeyToken) {
    if (body.size() > kMaxBodyBytes) {
        return tooLong();
    }
    const std::optional<FormBody> form = parseFormBody(body);
    if (!form) {
        return failure(ServiceError::Malformed);
    }
    if (form->kind == FormBody::Kind::CallKey) {
        return issueCallKey();
    }
    if (!isStrictHex(form->payload)) {
        return failure(ServiceError::BadHex);
    }
    // The key is spent by this request whatever follows, so a captured body cannot be replayed.
    const CallKeySealer::Opened opened = sealer_.open(callKeyToken);
    if (opened.status != CallKeySealer::OpenStatus::Ok) {
        return failure(keyError(opened.status));
    }
    const DecodedCall decoded = decodeFunctionRequest(form->payload, opened.callKey);
    if (decoded.error != ServiceError::None) {
        return failure(decoded.error, decoded.call.funname);
    }
    const FunctionCall& call = decoded.call;
    if (call.appId != settings_.appId) {
        return failure(ServiceError::UnknownApp, call.funname);
    }
    if (call.funname == "init") {
        return init(call);
    }
    if (call.funname == "newestdraw") {
        return newestDraw(call);
    }
    if (call.funname == "select_draw") {
        return selectDraw(call);
    }
    return failure(ServiceError::UnknownFunction, repairUtf8(call.funname.substr(0, 40)));
}

ProtocolReply ServiceProtocol::issueCallKey() {
    const CallKeySealer::Issued issued = sealer_.issue();
    // The call key's errcode is a number, unlike every other reply's.
    std::string body = R"({"errcode":0,"msg":"","data":)";
    appendJsonString(body, bytesToHex(rc4(protocolKey(), issued.callKey)));
    body += '}';
    return {std::move(body),
            std::string(kCallKeyCookie) + "=" + issued.token + "; Path=/; HttpOnly", "GETRAND",
            "0"};
}

std::string ServiceProtocol::baseUrl() const {
    return "http://" + settings_.publicHost + ":" + std::to_string(settings_.drawPort);
}

ProtocolReply ServiceProtocol::init(const FunctionCall& call) {
    if (!call.params.empty()) {
        return failure(ServiceError::BadParameters, call.funname);
    }
    const std::string base = baseUrl();
    JsonValue payload;
    payload.reset();
    payload.setMember("drawurl", base + "/draw.php");
    payload.setMember("newphase", base + "/newphase.php");
    payload.setMember("advert1", base + "/advert.html");
    payload.setMember("advert2", "");
    payload.setMember("version", settings_.version);
    payload.setMember("proupurl", base + "/download/" + settings_.updateFile);
    payload.setMember("seo", "");
    return {envelope("0", "", encryptReplyData(payload.toText(), call.nonce)), "", call.funname,
            "0"};
}

ProtocolReply ServiceProtocol::newestDraw(const FunctionCall& call) {
    // The only parameter is the client's access text, which this deployment does not check.
    if (call.params.size() > 1) {
        return failure(ServiceError::BadParameters, call.funname);
    }
    const auto recent = store_.recent();
    if (recent->empty()) {
        return failure(ServiceError::NoDraws, call.funname);
    }
    const std::int64_t now = clock_.unixNow();
    const std::string payload =
        dataPayload(newestDrawLine(recent->front(), formatCivilTime(now + clock_.utcOffsetAt(now)),
                                   settings_.intervalSeconds));
    return {envelope("0", "", encryptReplyData(payload, call.nonce)), "", call.funname, "0"};
}

ProtocolReply ServiceProtocol::selectDraw(const FunctionCall& call) {
    if (call.params.size() != 2) {
        return failure(ServiceError::BadParameters, call.funname);
    }
    const std::optional<int> count = strictCount(call.params[1]);
    if (!count || *count < 1 || *count > kMaxSelectCount) {
        return failure(ServiceError::BadParameters, call.funname);
    }
    // Plain data: the client cuts the table out of the raw reply text, so the data member is
    // the JSON text of {"data":TABLE} written as a string.
    const std::string payload =
        dataPayload(drawTableText(*store_.recent(), static_cast<std::size_t>(*count)));
    return {envelope("0", "", payload), "", call.funname, "0"};
}

}  // namespace pk10
