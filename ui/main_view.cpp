#include "ui/main_view.h"

#include "service/text_rules.h"

namespace pk10 {

std::vector<std::string> latestDrawParts(std::string_view numbers) {
    std::vector<std::string> parts = splitText(numbers, ",");
    if (parts.size() > 10) {
        parts.resize(10);
    }
    return parts;
}

}  // namespace pk10
