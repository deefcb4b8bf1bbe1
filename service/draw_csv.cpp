#include "service/draw_csv.h"

#include <algorithm>

#include "service/text_rules.h"

namespace pk10 {
namespace {

bool allDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Ten distinct car numbers 1..10, each written with two digits.
bool validNumbers(std::string_view numbers) {
    const auto parts = splitText(numbers, ",");
    if (parts.size() != 10 || numbers.back() == ',') {
        return false;
    }
    bool seen[11] = {};
    for (const auto& part : parts) {
        if (part.size() != 2 || !allDigits(part)) {
            return false;
        }
        const int n = textToInt(part);
        if (n < 1 || n > 10 || seen[n]) {
            return false;
        }
        seen[n] = true;
    }
    return true;
}

std::optional<std::string> parseLine(std::string_view line, DrawCsvRow& row) {
    const auto quote = line.find('"');
    if (quote == std::string_view::npos || line.size() < quote + 2 || line.back() != '"') {
        return "the numbers must be quoted";
    }
    const std::string_view numbers = line.substr(quote + 1, line.size() - quote - 2);
    std::string_view head = line.substr(0, quote);
    if (head.empty() || head.back() != ',') {
        return "expected a \",\" before the numbers";
    }
    head.remove_suffix(1);
    const auto comma = head.find(',');
    const std::string_view period = head.substr(0, comma);
    if (!allDigits(period)) {
        return "the period must be a number";
    }
    if (!validNumbers(numbers)) {
        return "the numbers must be ten distinct cars 01..10";
    }
    row.period = period;
    row.drawTime = comma == std::string_view::npos ? "" : head.substr(comma + 1);
    row.numbers = numbers;
    return std::nullopt;
}

}  // namespace

int DrawCsvRow::drawValue() const {
    const auto parts = splitText(numbers, ",");
    return parts.size() < 2 ? 0 : textToInt(parts[0]) + textToInt(parts[1]);
}

DrawCsvResult readDrawCsv(std::istream& in) {
    DrawCsvResult result;
    std::string line;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (lineNumber == 1 || line.empty()) {
            continue;  // the header, and blank lines such as a final one
        }
        DrawCsvRow row;
        if (auto problem = parseLine(line, row)) {
            result.rows.clear();
            result.error = "line " + std::to_string(lineNumber) + ": " + *problem;
            return result;
        }
        result.rows.push_back(std::move(row));
    }
    return result;
}

}  // namespace pk10
