#include "service/service_request.h"

#include <cstdlib>

#include "service/codec.h"
#include "service/crypto.h"
#include "service/protocol_keys.h"

namespace pk10 {
namespace {

constexpr std::string_view kOwnFailureCode = "9999";
constexpr std::string_view kNoResponse = "服务器访问失败!";
constexpr std::string_view kNotJson = "服务器访问错误!";
constexpr std::string_view kDataUnreadable = "服务器访问错误!2";

// Unix time is counted from 1970-01-01 08:00:00 local time: the service runs at UTC+8.
constexpr std::int64_t kEpochLocalOffsetSeconds = 8 * 3600;

}  // namespace

ServiceRequest::ServiceRequest(HttpTransport& transport, const Clock& clock, const Uptime& uptime)
    : transport_(transport), clock_(clock), uptime_(uptime) {}

void ServiceRequest::setEndpoint(std::string url, std::int32_t appId) {
    url_ = std::move(url);
    appId_ = appId;
}

bool ServiceRequest::call(JsonReply& reply, std::string_view funname,
                          const std::array<std::string_view, 5>& params, bool plainData) {
    std::vector<std::string> list;
    for (const std::string_view param : params) {
        if (param.empty()) {
            break;
        }
        list.emplace_back(param);
    }
    return callDecoded(reply, funname, list, plainData);
}

bool ServiceRequest::callDecoded(JsonReply& reply, std::string_view funname,
                                 const std::vector<std::string>& params, bool plainData) {
    std::string replyText;
    std::int32_t nonce = 0;
    if (!callRaw(replyText, funname, params, nonce, reply)) {
        return false;
    }
    const std::string data = reply.memberText("data");
    if (data.empty()) {
        return true;
    }
    if (!reply.parse(plainData ? data : decryptData(data, nonce))) {
        setFailure(reply, kOwnFailureCode, kDataUnreadable, "");
        return false;
    }
    return true;
}

bool ServiceRequest::callRaw(std::string& replyText, std::string_view funname,
                             const std::vector<std::string>& params, std::int32_t& nonce,
                             JsonReply& reply) {
    // Cookies the service sets with the call key bind it to this call only.
    callCookies_.clear();
    struct CookieReset {
        HttpCookies& cookies;
        ~CookieReset() { cookies.clear(); }
    } cookieReset{callCookies_};

    const std::int32_t callNonce = newNonce();
    const std::string callKey = fetchCallKey(reply);
    if (callKey.empty()) {
        // A reply that claims success but carried no key is no success either.
        if (reply.isEmpty() || reply.memberText("errcode") == "0") {
            setFailure(reply, kOwnFailureCode, kNoResponse, "");
        }
        return false;
    }

    body_.reset();
    body_.setMember("rand", std::to_string(callNonce));
    body_.setMember("funname", funname);
    body_.setMember("appid", std::to_string(appId_));
    params_.reset();
    for (const std::string& param : params) {
        params_.append(param);
    }
    body_.setMemberValue("param", params_);
    reply.reset();

    const std::string encrypted = encryptBody(urlEscape(body_.toText()), callKey);
    const std::string response = sendPost(url_, "DATA=" + encrypted);
    if (response.empty()) {
        setFailure(reply, kOwnFailureCode, kNoResponse, "");
        return false;
    }
    replyText = repairUtf8(response);
    nonce = callNonce;
    if (!reply.parse(replyText)) {
        setFailure(reply, kOwnFailureCode, kNotJson, "");
        return false;
    }
    return reply.memberText("errcode") == "0";
}

void ServiceRequest::setFailure(JsonReply& reply, std::string_view errcode, std::string_view msg,
                                std::string_view data) {
    reply.reset();
    reply.setMember("errcode", errcode);
    reply.setMember("msg", msg);
    reply.setMember("data", data);
}

const std::vector<HttpHeader>& ServiceRequest::postHeaders() {
    static const std::vector<HttpHeader> headers{
        {"Accept", "*/*"},
        {"Accept-Language", "zh-CN"},
        {"User-Agent", "Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)"},
        {"Content-Type", "application/x-www-form-urlencoded"},
        {"Accept-Encoding", "deflate"},
        {"Connection", "Keep-Alive"},
        {"Cache-Control", "no-cache"},
    };
    return headers;
}

std::string ServiceRequest::sendPost(const std::string& url, std::string_view body) {
    HttpResponse response = transport_.post(url, postHeaders(), body, callCookies_);
    return response.received ? std::move(response.body) : std::string();
}

std::int32_t ServiceRequest::newNonce() const {
    const std::int64_t sum = static_cast<std::int64_t>(uptime_.milliseconds()) +
                             std::strtoll(currentUnixTimeText().c_str(), nullptr, 10);
    // The last four decimal digits of the sum.
    return static_cast<std::int32_t>((sum < 0 ? -sum : sum) % 10000);
}

std::string ServiceRequest::fetchCallKey(JsonReply& reply) {
    const std::string response = sendPost(url_, "DATA=GETRAND?" + currentUnixTimeText());
    if (response.empty()) {
        setFailure(reply, kOwnFailureCode, kNoResponse, "");
        return {};
    }
    if (!reply.parse(response)) {
        setFailure(reply, kOwnFailureCode, kNotJson, "");
        return {};
    }
    if (reply.memberText("errcode") != "0") {
        return {};
    }
    return rc4(protocolKey(), pk10::hexToBytes(reply.memberText("data")));
}

std::string ServiceRequest::decryptData(std::string_view data, std::int32_t nonce) {
    const std::string inner = rc4(protocolKey(), pk10::hexToBytes(data));
    const std::string plain = rc4(replyKey(nonce), pk10::hexToBytes(inner));
    return repairUtf8(plain);
}

std::string ServiceRequest::encryptBody(std::string_view plain, std::string_view callKey) {
    const std::string inner = pk10::bytesToHex(rc4(protocolKey(), plain));
    return pk10::bytesToHex(rc4(callKey, inner));
}

std::string ServiceRequest::replyKey(std::int32_t nonce) {
    return pk10::replyKey(nonce);
}

std::string ServiceRequest::unixTimeText(std::int64_t localSeconds) {
    return std::to_string(localSeconds - kEpochLocalOffsetSeconds);
}

std::string ServiceRequest::currentUnixTimeText() const {
    const std::int64_t now = clock_.unixNow();
    return unixTimeText(now + clock_.utcOffsetAt(now));
}

std::string ServiceRequest::hexToBytes(std::string_view hex) {
    return pk10::hexToBytes(hex);
}

std::int32_t ServiceRequest::parseNumber(std::string_view text, int base) {
    return pk10::parseNumber(text, base);
}

std::string ServiceRequest::bytesToHex(std::string_view bytes) {
    return pk10::bytesToHex(bytes);
}

std::string ServiceRequest::urlEscape(std::string_view text) {
    return pk10::urlEscape(text);
}

}  // namespace pk10
