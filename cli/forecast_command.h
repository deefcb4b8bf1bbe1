#pragma once

#include <CLI/CLI.hpp>

#include <cstdint>
#include <ostream>
#include <string>

namespace pk10 {

struct ForecastOptions {
    std::string type;
    std::int32_t seed = 0;
    std::int32_t span = 3;
};

// Prints the forecast that plan type `type` makes for a raw seed. Exit status 2 for a type that
// is unknown or refused.
int runForecast(const ForecastOptions& options, std::ostream& out, std::ostream& err);

void addForecastCommand(CLI::App& app, std::ostream& out, std::ostream& err, int& exitCode);

}  // namespace pk10
