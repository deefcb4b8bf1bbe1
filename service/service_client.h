#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "service/app_settings.h"
#include "service/clock.h"
#include "service/draw_record.h"
#include "service/event_pump.h"
#include "service/http_transport.h"
#include "service/json_value.h"
#include "service/service_request.h"

namespace pk10 {

// The program's one client of the draw service: connects with "init" (which delivers the
// settings), then answers questions about draws. Keeps the text of its last failure.
class ServiceClient {
public:
    ServiceClient(HttpTransport& transport, const Clock& clock, const Uptime& uptime,
                  EventPump& pump);
    virtual ~ServiceClient() = default;
    ServiceClient(const ServiceClient&) = default;
    ServiceClient& operator=(const ServiceClient&) = delete;

    void setLastError(std::string message) { lastError_ = std::move(message); }
    std::string lastError() const { return lastError_; }

    // Up to 10 attempts of "init" (events run between them); on success takes the settings and
    // points draw queries at their drawurl.
    bool init(const std::string& initUrl, std::int32_t appId);
    std::string token() const { return token_; }
    void copySettings(AppSettings& target) const { target = settings_; }
    static void parseSettings(const JsonReply& reply, AppSettings& target);

    // The newest-draw line split at "| |"; true when it gave at least one piece. Records no
    // failure text.
    bool newestDraw(std::vector<std::string>& fields);
    // The `count` most recent draws as a draw table. An empty payload is a success that leaves
    // `table` as it was.
    bool selectDraw(int count, DrawTable& table);
    // The body of the newest-period URL ("" when it could not be had).
    std::string latestPeriod();

    // Cuts the draw table text out of a raw "select_draw" reply and turns its escaped line ends
    // into CR LF; nullopt when the reply lacks either marker.
    static std::optional<std::string> cutDrawPayload(std::string_view replyText);

private:
    HttpTransport& transport_;
    const Clock& clock_;
    const Uptime& uptime_;
    EventPump& pump_;
    std::string token_;
    std::string lastError_;
    ServiceRequest drawRequest_;
    JsonReply initReply_;
    JsonReply drawReply_;
    std::string newphaseUrl_;
    AppSettings settings_;
};

}  // namespace pk10
