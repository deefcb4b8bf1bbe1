#include "service/draw_record.h"

#include "service/text_rules.h"

namespace pk10 {

std::optional<LatestDraw> parseNewestDrawLine(std::string_view line) {
    auto fields = splitText(line, kNewestDrawSeparator);
    if (fields.size() != 8) {
        return std::nullopt;
    }
    LatestDraw latest;
    latest.draw.column1 = std::move(fields[0]);
    latest.draw.period = std::move(fields[1]);
    latest.draw.column3 = std::move(fields[2]);
    latest.draw.numbers = std::move(fields[3]);
    latest.draw.drawValue = textToInt(fields[4]);
    latest.next.column6 = std::move(fields[5]);
    latest.next.column7 = std::move(fields[6]);
    latest.next.nextDrawTime = std::move(fields[7]);
    return latest;
}

std::optional<DrawTable> buildDrawTable(std::string_view text) {
    if (text.empty()) {
        return std::nullopt;
    }
    const auto lines = splitText(text, kLineEnd);
    std::vector<std::string> flat;
    for (const auto& line : lines) {
        for (auto& field : splitText(line, kDrawTableSeparator)) {
            flat.push_back(std::move(field));
        }
    }
    DrawTable table;
    table.rows = lines.size();
    table.columns = table.rows == 0 ? 0 : flat.size() / table.rows;
    flat.resize(table.rows * table.columns);
    table.cells = std::move(flat);
    return table;
}

std::optional<std::vector<DrawRecord>> drawRecordsFromTable(const DrawTable& table) {
    if (table.columns < 5) {
        return std::nullopt;
    }
    std::vector<DrawRecord> records;
    records.reserve(table.rows);
    for (std::size_t row = 0; row < table.rows; ++row) {
        DrawRecord record;
        record.column1 = table.at(row, 0);
        record.period = table.at(row, 1);
        record.column3 = table.at(row, 2);
        record.numbers = table.at(row, 3);
        record.drawValue = textToInt(table.at(row, 4));
        records.push_back(std::move(record));
    }
    return records;
}

}  // namespace pk10
