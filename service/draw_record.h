#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pk10 {

// A period is kept as the service writes it; two periods are the same when their texts are.
using PeriodNumber = std::string;

// One published draw.
struct DrawRecord {
    std::string column1;
    PeriodNumber period;
    std::string column3;
    std::string numbers;  // ten car numbers in finishing order, joined by ","
    std::int32_t drawValue = 0;

    bool operator==(const DrawRecord&) const = default;
};

// When the draw after the newest one is due.
struct NextDrawInfo {
    std::string column6;
    std::string column7;
    std::string nextDrawTime;  // local "YYYY-MM-DD HH:MM:SS"

    bool operator==(const NextDrawInfo&) const = default;
};

// The newest draw together with the time of the next one.
struct LatestDraw {
    DrawRecord draw;
    NextDrawInfo next;

    bool operator==(const LatestDraw&) const = default;
};

// The draws the program has seen, newest first.
using DrawHistory = std::deque<DrawRecord>;

// Rows by columns of texts, cut from a draw table text.
struct DrawTable {
    std::size_t rows = 0;
    std::size_t columns = 0;
    std::vector<std::string> cells;  // row-major

    const std::string& at(std::size_t row, std::size_t column) const {
        return cells[row * columns + column];
    }
};

inline constexpr std::string_view kNewestDrawSeparator = "| |";
inline constexpr std::string_view kDrawTableSeparator = "|+|";
inline constexpr std::string_view kLineEnd = "\r\n";

// Reads the eight-field newest-draw line; nullopt unless it has exactly eight fields.
std::optional<LatestDraw> parseNewestDrawLine(std::string_view line);

// Cuts a draw table text into equal rows (see DrawTable); nullopt for an empty text.
std::optional<DrawTable> buildDrawTable(std::string_view text);

// The records of a table, in row order (newest first); nullopt when it has fewer than five
// columns, since such rows carry no draw.
std::optional<std::vector<DrawRecord>> drawRecordsFromTable(const DrawTable& table);

}  // namespace pk10
