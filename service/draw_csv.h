#pragma once

#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace pk10 {

// One line of a draw file: `period,numbers` or `period,draw_time,numbers`, the numbers quoted
// (the format of the bundled real draws in data/).
struct DrawCsvRow {
    std::string period;
    std::string drawTime;  // empty when the file has no such column
    std::string numbers;   // ten two-digit numbers joined by ","

    // Number at position 1 plus number at position 2: what the service sends as a draw's value.
    int drawValue() const;
};

struct DrawCsvResult {
    std::vector<DrawCsvRow> rows;  // in file order
    std::string error;             // "line N: ..." when a line is malformed; rows are then empty
    bool ok() const { return error.empty(); }
};

// Reads a whole draw file: a header line, then one draw per line (CR LF or LF).
DrawCsvResult readDrawCsv(std::istream& in);

}  // namespace pk10
