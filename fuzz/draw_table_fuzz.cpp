// A raw "select_draw" reply: the payload cut, the draw table and its records.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "service/draw_record.h"
#include "service/service_client.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view reply(reinterpret_cast<const char*>(data), size);
    for (const auto& text :
         {pk10::ServiceClient::cutDrawPayload(reply), std::optional<std::string>(reply)}) {
        if (!text) {
            continue;
        }
        if (const auto table = pk10::buildDrawTable(*text)) {
            if (table->cells.size() != table->rows * table->columns) {
                __builtin_trap();
            }
            if (const auto records = pk10::drawRecordsFromTable(*table)) {
                if (records->size() != table->rows) {
                    __builtin_trap();
                }
            }
        }
    }
    return 0;
}
