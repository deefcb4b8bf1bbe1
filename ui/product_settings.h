#pragma once

#include <cstdint>
#include <string>

namespace pk10 {

// The constants that make a build this product; stored once at start.
struct ProductSettings {
    std::string title;
    std::string exeBaseName;
    std::int32_t appId = 0;
    std::string planType;
    std::string version;
    std::string planName;
};

}  // namespace pk10
