#include "server/draw_import.h"

#include <algorithm>
#include <charconv>
#include <fstream>

#include "service/draw_csv.h"

namespace pk10 {

bool loadDrawFile(const std::string& path, std::vector<CsvDraw>& draws, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read " + path;
        return false;
    }
    const DrawCsvResult file = readDrawCsv(in);
    if (!file.ok()) {
        error = path + ": " + file.error;
        return false;
    }
    std::vector<CsvDraw> rows;
    rows.reserve(file.rows.size());
    for (std::size_t i = 0; i < file.rows.size(); ++i) {
        const DrawCsvRow& row = file.rows[i];
        // Line numbers count the header.
        const std::string where = path + ": line " + std::to_string(i + 2) + ": ";
        CsvDraw draw;
        const auto [end, ec] =
            std::from_chars(row.period.data(), row.period.data() + row.period.size(), draw.period);
        if (ec != std::errc() || end != row.period.data() + row.period.size() || draw.period <= 0) {
            error = where + "the period is out of range";
            return false;
        }
        if (!row.drawTime.empty() && !parseCivilTime(row.drawTime)) {
            error = where + "the draw time must read YYYY-MM-DD HH:MM:SS";
            return false;
        }
        draw.drawTime = row.drawTime;
        draw.numbers = row.numbers;
        rows.push_back(std::move(draw));
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [](const CsvDraw& a, const CsvDraw& b) { return a.period < b.period; });
    draws = std::move(rows);
    return true;
}

std::vector<StoredDraw> toStoredDraws(const std::vector<CsvDraw>& rows, std::int64_t lastCivilTime,
                                      std::int64_t intervalSeconds) {
    std::vector<StoredDraw> draws;
    draws.reserve(rows.size());
    const auto untimed = static_cast<std::int64_t>(std::count_if(
        rows.begin(), rows.end(), [](const CsvDraw& row) { return row.drawTime.empty(); }));
    std::int64_t index = 0;
    for (const CsvDraw& row : rows) {
        std::string time = row.drawTime;
        if (time.empty()) {
            time = formatCivilTime(lastCivilTime - (untimed - 1 - index) * intervalSeconds);
            ++index;
        }
        draws.push_back({row.period, std::move(time), row.numbers});
    }
    return draws;
}

}  // namespace pk10
