#pragma once

#include <cstdint>
#include <string>

#include "service/clock.h"
#include "service/draw_record.h"
#include "ui/service_operations.h"

namespace pk10 {

// Keeps the newest accepted draw and when the next one is due, turns the rest into the
// countdown, and once the due time has passed asks the service for the new draw, at most
// every 6 seconds.
class DrawClock {
public:
    DrawClock(ServiceOperations& service, const Clock& clock)
        : service_(&service), clock_(&clock) {}

    // True when a draw other than the current one was accepted; `out` then holds it.
    bool poll(LatestDraw& out);
    // "mm：ss" until the due time, empty once it has passed.
    std::string countdownText() const;
    static std::string formatCountdown(std::int32_t seconds);
    // The newest draw from the service; false (and `out` unchanged) unless the line had exactly
    // eight pieces.
    bool fetchNewest(LatestDraw& out);

    const LatestDraw& current() const { return current_; }
    std::int64_t nextDrawTime() const { return nextDrawTime_; }

private:
    ServiceOperations* service_;
    const Clock* clock_;
    LatestDraw current_;
    std::int64_t nextDrawTime_ = 0;
    // A poll pumps events while it waits, so a nested tick must find it busy.
    bool pollBusy_ = false;
    std::int64_t lastPollAttempt_ = 0;
};

}  // namespace pk10
