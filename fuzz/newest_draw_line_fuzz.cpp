// The newest-draw line as the client splits and reads it.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "service/draw_record.h"
#include "service/text_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const auto fields = pk10::splitText(line, pk10::kNewestDrawSeparator);
    const auto latest = pk10::parseNewestDrawLine(line);
    if (latest.has_value() != (fields.size() == 8)) {
        __builtin_trap();
    }
    return 0;
}
