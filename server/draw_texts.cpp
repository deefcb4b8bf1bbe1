#include "server/draw_texts.h"

#include <algorithm>
#include <cstdio>

#include "service/draw_record.h"
#include "service/text_rules.h"

namespace pk10 {
namespace {

// Howard Hinnant's days_from_civil / civil_from_days (public domain algorithms).
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

struct Civil {
    std::int64_t year;
    unsigned month;
    unsigned day;
};

Civil civilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2), m, d};
}

bool readDigits(std::string_view text, std::size_t at, std::size_t count, int& value) {
    value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

}  // namespace

std::string formatCivilTime(std::int64_t civilSeconds) {
    std::int64_t days = civilSeconds / 86400;
    std::int64_t rest = civilSeconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    const Civil date = civilFromDays(days);
    char text[64];
    std::snprintf(text, sizeof text, "%04lld-%02u-%02u %02d:%02d:%02d",
                  static_cast<long long>(date.year), date.month, date.day,
                  static_cast<int>(rest / 3600), static_cast<int>(rest / 60 % 60),
                  static_cast<int>(rest % 60));
    return text;
}

std::optional<std::int64_t> parseCivilTime(std::string_view text) {
    // YYYY-MM-DD HH:MM:SS
    if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != ' ' ||
        text[13] != ':' || text[16] != ':') {
        return std::nullopt;
    }
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (!readDigits(text, 0, 4, year) || !readDigits(text, 5, 2, month) ||
        !readDigits(text, 8, 2, day) || !readDigits(text, 11, 2, hour) ||
        !readDigits(text, 14, 2, minute) || !readDigits(text, 17, 2, second)) {
        return std::nullopt;
    }
    if (month < 1 || month > 12 || day < 1 || hour > 23 || minute > 59 || second > 59) {
        return std::nullopt;
    }
    const std::int64_t days =
        daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
    // Reject 2018-02-30 and the like: the day must survive the round trip.
    const Civil back = civilFromDays(days);
    if (back.day != static_cast<unsigned>(day) || back.month != static_cast<unsigned>(month)) {
        return std::nullopt;
    }
    return days * 86400 + hour * 3600 + minute * 60 + second;
}

int drawValueOf(std::string_view numbers) {
    const std::vector<std::string> pieces = splitText(numbers, ",");
    if (pieces.size() < 2) {
        return 0;
    }
    return textToInt(pieces[0]) + textToInt(pieces[1]);
}

std::string newestDrawLine(const StoredDraw& newest, std::string_view now,
                           std::int64_t intervalSeconds) {
    const std::string separator(kNewestDrawSeparator);
    std::string nextTime;
    if (const std::optional<std::int64_t> drawn = parseCivilTime(newest.drawTime)) {
        nextTime = formatCivilTime(*drawn + intervalSeconds);
    }
    std::string line(kGameName);
    for (const std::string& field :
         {std::to_string(newest.period), newest.drawTime, newest.numbers,
          std::to_string(drawValueOf(newest.numbers)), std::to_string(newest.period + 1),
          std::string(now), nextTime}) {
        line += separator;
        line += field;
    }
    return line;
}

std::string drawTableText(const std::vector<StoredDraw>& newestFirst, std::size_t count) {
    const std::string separator(kDrawTableSeparator);
    std::string text;
    const std::size_t rows = std::min(count, newestFirst.size());
    text.reserve(rows * 64);
    for (std::size_t i = 0; i < rows; ++i) {
        const StoredDraw& draw = newestFirst[i];
        if (i > 0) {
            text += kLineEnd;
        }
        text += kGameName;
        text += separator;
        text += std::to_string(draw.period);
        text += separator;
        text += draw.drawTime;
        text += separator;
        text += draw.numbers;
        text += separator;
        text += std::to_string(drawValueOf(draw.numbers));
    }
    return text;
}

}  // namespace pk10
