#pragma once

#include <CLI/CLI.hpp>

#include <cstdint>
#include <ostream>
#include <string>

namespace pk10 {

struct BacktestOptions {
    std::string type;
    std::string drawsFile;
    std::int32_t span = 3;
    bool shaped = false;
};

// Feeds the draws of a file to a plan of type `type` as the program feeds live draws and prints
// the plan box text. With `shaped`, rebuilds from the newest 50 draws instead, as the program
// does at start-up, so the shown and the live hit rates can be compared.
int runBacktest(const BacktestOptions& options, std::ostream& out, std::ostream& err);

void addBacktestCommand(CLI::App& app, std::ostream& out, std::ostream& err, int& exitCode);

}  // namespace pk10
