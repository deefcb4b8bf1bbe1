#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "service/clock.h"
#include "service/http_transport.h"
#include "service/json_value.h"

namespace pk10 {

// One endpoint of the service: wraps a function call in the JSON body, gets a per-call key,
// encrypts the body in two RC4 layers, posts it, and reads the reply envelope
// ("errcode", "msg", "data"). Every failure, the transport's included, ends up in the reply
// object in that shape; the client's own failures use errcode "9999".
class ServiceRequest {
public:
    ServiceRequest(HttpTransport& transport, const Clock& clock, const Uptime& uptime);
    virtual ~ServiceRequest() = default;
    ServiceRequest(const ServiceRequest&) = default;
    ServiceRequest& operator=(const ServiceRequest&) = delete;

    void setEndpoint(std::string url, std::int32_t appId);
    const std::string& url() const { return url_; }
    std::int32_t appId() const { return appId_; }

    // Sends the parameters up to the first empty one, then as callDecoded.
    bool call(JsonReply& reply, std::string_view funname,
              const std::array<std::string_view, 5>& params, bool plainData);
    // callRaw, then replaces the envelope by its "data" member: parsed as it is when plainData,
    // else decrypted first. An empty "data" leaves the envelope.
    bool callDecoded(JsonReply& reply, std::string_view funname,
                     const std::vector<std::string>& params, bool plainData);
    // One exchange; true when the reply's errcode reads "0". `replyText` (repaired UTF-8) and
    // `nonce` are set as soon as a response arrived, even when it then fails.
    bool callRaw(std::string& replyText, std::string_view funname,
                 const std::vector<std::string>& params, std::int32_t& nonce, JsonReply& reply);

    static void setFailure(JsonReply& reply, std::string_view errcode, std::string_view msg,
                           std::string_view data);
    // Response body, or no bytes when nothing came back. Cookies of the current call are kept.
    std::string sendPost(const std::string& url, std::string_view body);
    std::int32_t newNonce() const;
    // The per-call key issued by the service; "" on failure (the reply then tells why).
    std::string fetchCallKey(JsonReply& reply);
    static std::string decryptData(std::string_view data, std::int32_t nonce);
    static std::string encryptBody(std::string_view plain, std::string_view callKey);
    static std::string replyKey(std::int32_t nonce);
    // Seconds from the local date-time 1970-01-01 08:00:00 to the local date-time given as
    // seconds since local 1970-01-01 00:00:00.
    static std::string unixTimeText(std::int64_t localSeconds);
    std::string currentUnixTimeText() const;
    static std::string hexToBytes(std::string_view hex);
    static std::int32_t parseNumber(std::string_view text, int base = 1);
    static std::string bytesToHex(std::string_view bytes);
    static std::string urlEscape(std::string_view text);

    static const std::vector<HttpHeader>& postHeaders();

private:
    HttpTransport& transport_;
    const Clock& clock_;
    const Uptime& uptime_;
    std::string url_;
    JsonValue body_;
    JsonArray params_;
    std::int32_t appId_ = 0;
    HttpCookies callCookies_;
};

}  // namespace pk10
