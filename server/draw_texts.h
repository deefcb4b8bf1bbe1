#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pk10 {

// One draw as the service keeps it.
struct StoredDraw {
    std::int64_t period = 0;
    std::string drawTime;  // local "YYYY-MM-DD HH:MM:SS"
    std::string numbers;   // ten two-digit numbers joined by ","

    bool operator==(const StoredDraw&) const = default;
};

// The first field of every draw row the service sends.
inline constexpr std::string_view kGameName = "pk10";

// Local seconds since 1970-01-01 00:00:00 (a civil count without time zone) as
// "YYYY-MM-DD HH:MM:SS", and back; nullopt for any other form or an impossible date.
std::string formatCivilTime(std::int64_t civilSeconds);
std::optional<std::int64_t> parseCivilTime(std::string_view text);

// The draw value the client seeds with: number at position 1 plus number at position 2.
int drawValueOf(std::string_view numbers);

// The newest-draw line: pk10, period, draw time, numbers, draw value, next period, the
// service's current time, next draw time, joined by "| |".
std::string newestDrawLine(const StoredDraw& newest, std::string_view now,
                           std::int64_t intervalSeconds);

// Rows pk10|+|period|+|time|+|numbers|+|value of the first `count` draws, joined by CR LF.
std::string drawTableText(const std::vector<StoredDraw>& newestFirst, std::size_t count);

}  // namespace pk10
