#pragma once

#include <string_view>

namespace pk10 {

// The bytes of the updater program, built into the program file (target pk10_carried_updater).
std::string_view carriedUpdater();

}  // namespace pk10
