#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "server/draw_texts.h"

namespace pk10 {

// A row of a draw file ready for the service: the period as a number, sorted by period.
struct CsvDraw {
    std::int64_t period = 0;
    std::string drawTime;  // "" when the file has no time column
    std::string numbers;   // two digits each, joined by ","
};

// Reads a draw file (service/draw_csv.h) and sorts it by period; false with a message naming
// the file and line of the first bad row.
bool loadDrawFile(const std::string& path, std::vector<CsvDraw>& draws, std::string& error);

// Draws ready for the store. Rows without a time are given one: the last such row at
// `lastCivilTime`, each earlier one `intervalSeconds` before the next.
std::vector<StoredDraw> toStoredDraws(const std::vector<CsvDraw>& rows, std::int64_t lastCivilTime,
                                      std::int64_t intervalSeconds);

}  // namespace pk10
