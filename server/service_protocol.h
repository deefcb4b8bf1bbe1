#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "server/call_key_sealer.h"
#include "server/draw_store.h"
#include "server/request_decoder.h"
#include "server/service_errors.h"
#include "service/clock.h"

namespace pk10 {

// Deployment values the service hands out in its "init" reply and checks on every call.
struct ProtocolSettings {
    std::string publicHost = "127.0.0.1";
    int drawPort = 19200;
    std::string version = "1.41";
    std::string appId = "1112";
    std::string updateFile = "pk10-update.exe";
    std::int64_t intervalSeconds = 300;
};

// The name of the cookie that carries the sealed call key.
inline constexpr std::string_view kCallKeyCookie = "PK10SID";

// What the HTTP layer sends back for one POST.
struct ProtocolReply {
    std::string body;       // the JSON envelope
    std::string setCookie;  // a Set-Cookie value, or ""
    std::string function;   // "GETRAND" or the function name, for the log
    std::string errcode;
};

// The server side of the request envelope: decodes a POST body, runs the function and builds
// the reply envelope. No sockets; the HTTP layer only moves bytes.
class ServiceProtocol {
public:
    ServiceProtocol(ProtocolSettings settings, CallKeySealer& sealer, const DrawStore& store,
                    const Clock& clock);

    // `callKeyToken` is the value of the PK10SID cookie ("" without one).
    ProtocolReply handle(std::string_view body, std::string_view callKeyToken);
    // The reply to a body over the size limit.
    static ProtocolReply tooLong();

    const ProtocolSettings& settings() const { return settings_; }

    // {"errcode":..,"msg":..,"data":..} with the members in that order.
    static std::string envelope(std::string_view errcode, std::string_view msg,
                                std::string_view data);
    static ProtocolReply failure(ServiceError error, std::string function = {});
    // hex(RC4 protocol key(hex(RC4 reply key(json)))): how encrypted reply data travels.
    static std::string encryptReplyData(std::string_view json, std::int32_t nonce);

private:
    ProtocolReply issueCallKey();
    ProtocolReply init(const FunctionCall& call);
    ProtocolReply newestDraw(const FunctionCall& call);
    ProtocolReply selectDraw(const FunctionCall& call);
    std::string baseUrl() const;

    ProtocolSettings settings_;
    CallKeySealer& sealer_;
    const DrawStore& store_;
    const Clock& clock_;
};

}  // namespace pk10
