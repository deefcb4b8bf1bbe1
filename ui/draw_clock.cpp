#include "ui/draw_clock.h"

#include "service/text_rules.h"
#include "ui/time_functions.h"

namespace pk10 {

bool DrawClock::poll(LatestDraw& out) {
    if (pollBusy_) {
        return false;
    }
    const std::int64_t now = unixNow(*clock_, false);
    if (static_cast<double>(now) - static_cast<double>(lastPollAttempt_ + 6) < -0.0000001) {
        return false;
    }
    if (now < nextDrawTime_) {
        return false;
    }
    lastPollAttempt_ = now;
    pollBusy_ = true;

    // The period text is compared by its last three characters only, as the service's period
    // page and the draw line do not write the period alike.
    const std::string newest = service_->latestPeriod();
    const std::string tail = newest.size() > 3 ? newest.substr(newest.size() - 3) : newest;
    if (tail == current_.draw.period) {
        pollBusy_ = false;
        return false;
    }
    if (!fetchNewest(out)) {
        pollBusy_ = false;
        return false;
    }
    pollBusy_ = false;
    lastPollAttempt_ = unixNow(*clock_, false);
    if (out.draw.period == current_.draw.period) {
        return false;
    }
    current_ = out;
    // A due time that does not read as a date counts as long past, so polling goes on.
    const auto due = parseDateTime(current_.next.nextDrawTime);
    nextDrawTime_ = due ? localToUnix(*clock_, *due) : 0;
    return true;
}

std::string DrawClock::countdownText() const {
    const auto remaining = static_cast<std::int32_t>(nextDrawTime_ - unixNow(*clock_, false));
    return formatCountdown(remaining);
}

std::string DrawClock::formatCountdown(std::int32_t seconds) {
    if (seconds < 0) {
        return {};
    }
    const std::int32_t minutes = seconds / 60;
    const std::int32_t rest = seconds % 60;
    std::string text = minutes < 10 ? "0" : "";
    text += std::to_string(minutes);
    text += "：";
    if (rest < 10) {
        text += "0";
    }
    text += std::to_string(rest);
    return text;
}

bool DrawClock::fetchNewest(LatestDraw& out) {
    std::vector<std::string> pieces;
    if (!service_->newestDraw(pieces) || pieces.size() != 8) {
        return false;
    }
    out.draw.column1 = pieces[0];
    out.draw.period = pieces[1];
    out.draw.column3 = pieces[2];
    out.draw.numbers = pieces[3];
    out.draw.drawValue = textToInt(pieces[4]);
    out.next.column6 = pieces[5];
    out.next.column7 = pieces[6];
    out.next.nextDrawTime = pieces[7];
    return true;
}

}  // namespace pk10
