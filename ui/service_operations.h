#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "service/app_settings.h"
#include "service/draw_record.h"

namespace pk10 {

// The service client's operations the shell uses. The program hands in the real client; tests
// of the shell's rules hand in a scripted one.
class ServiceOperations {
public:
    virtual ~ServiceOperations() = default;
    virtual bool init(std::string_view initUrl, std::int32_t appId) = 0;
    virtual std::string lastError() const = 0;
    virtual void copySettings(AppSettings& target) const = 0;
    // The pieces of the newest-draw line; true when the call worked and there was a piece.
    virtual bool newestDraw(std::vector<std::string>& fields) = 0;
    virtual bool selectDraw(std::int32_t count, DrawTable& table) = 0;
    // The newest period number as the service writes it; empty on failure.
    virtual std::string latestPeriod() = 0;
};

}  // namespace pk10
