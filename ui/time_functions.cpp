#include "ui/time_functions.h"

#include <charconv>

namespace pk10 {

namespace {

// Days from 1970-01-01 to the given civil date (proleptic Gregorian).
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

bool isLeap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int daysInMonth(int y, int m) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : kDays[m - 1];
}

// Reads an unsigned number of 1 to `maxDigits` digits at `pos`.
bool readNumber(std::string_view text, std::size_t& pos, std::size_t maxDigits, int& out) {
    std::size_t end = pos;
    while (end < text.size() && end - pos < maxDigits && text[end] >= '0' && text[end] <= '9') {
        ++end;
    }
    if (end == pos) {
        return false;
    }
    std::from_chars(text.data() + pos, text.data() + end, out);
    pos = end;
    return true;
}

bool expect(std::string_view text, std::size_t& pos, std::string_view chars) {
    if (pos < text.size() && chars.find(text[pos]) != std::string_view::npos) {
        ++pos;
        return true;
    }
    return false;
}

}  // namespace

std::int64_t unixNow(const Clock& clock, bool milliseconds) {
    const std::int64_t seconds = clock.unixNow();
    return milliseconds ? seconds * 1000 : seconds;
}

std::int64_t localToUnix(const Clock& clock, const DateTime& local) {
    const std::int64_t asUtc = daysFromCivil(local.year, static_cast<unsigned>(local.month),
                                             static_cast<unsigned>(local.day)) *
                                   86400 +
                               local.hour * 3600 + local.minute * 60 + local.second;
    // The offset is asked at the instant itself, so a change of offset near the time counts.
    const std::int64_t guess = asUtc - clock.utcOffsetAt(asUtc);
    return asUtc - clock.utcOffsetAt(guess);
}

std::optional<DateTime> parseDateTime(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    DateTime t;
    std::size_t pos = 0;
    if (!readNumber(text, pos, 4, t.year) || !expect(text, pos, "-/") ||
        !readNumber(text, pos, 2, t.month) || !expect(text, pos, "-/") ||
        !readNumber(text, pos, 2, t.day)) {
        return std::nullopt;
    }
    if (pos < text.size()) {
        if (!expect(text, pos, " T") || !readNumber(text, pos, 2, t.hour) ||
            !expect(text, pos, ":") || !readNumber(text, pos, 2, t.minute) ||
            !expect(text, pos, ":") || !readNumber(text, pos, 2, t.second) || pos != text.size()) {
            return std::nullopt;
        }
    }
    if (t.year < 1601 || t.month < 1 || t.month > 12 || t.day < 1 ||
        t.day > daysInMonth(t.year, t.month) || t.hour > 23 || t.minute > 59 || t.second > 59) {
        return std::nullopt;
    }
    return t;
}

}  // namespace pk10
