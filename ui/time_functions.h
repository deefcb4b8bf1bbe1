#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "service/clock.h"

namespace pk10 {

// A calendar date and time of day, without a zone.
struct DateTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Now, in seconds (or milliseconds) since 1970-01-01 00:00:00 UTC. The clock counts whole
// seconds, so milliseconds are whole thousands.
std::int64_t unixNow(const Clock& clock, bool milliseconds);

// A local date and time expressed as Unix seconds.
std::int64_t localToUnix(const Clock& clock, const DateTime& local);

// Reads "YYYY-MM-DD HH:MM:SS" ("/" also separates the date, the time may be left out); nullopt
// for anything else or an impossible date.
std::optional<DateTime> parseDateTime(std::string_view text);

}  // namespace pk10
