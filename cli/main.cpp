#include <CLI/CLI.hpp>

#include <iostream>

#include "cli/backtest_command.h"
#include "cli/draws_command.h"
#include "cli/forecast_command.h"

int main(int argc, char** argv) {
    CLI::App app{"pk10-plan: forecasts and plans of the PK10 plan tool"};
    app.require_subcommand(1);
    int exitCode = 0;
    pk10::addForecastCommand(app, std::cout, std::cerr, exitCode);
    pk10::addBacktestCommand(app, std::cout, std::cerr, exitCode);
    pk10::addDrawsCommand(app, std::cout, std::cerr, exitCode);
    CLI11_PARSE(app, argc, argv);
    return exitCode;
}
