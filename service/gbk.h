#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pk10 {

// Texts live as UTF-8; GBK is used only where the bytes matter (the settings file, name seeds).
// Both return nullopt when the input cannot be converted.
std::optional<std::string> utf8ToGbk(std::string_view utf8);
std::optional<std::string> gbkToUtf8(std::string_view gbk);

}  // namespace pk10
