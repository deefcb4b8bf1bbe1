#include "cli/forecast_command.h"

#include "plans/plan_setup.h"

namespace pk10 {

int runForecast(const ForecastOptions& options, std::ostream& out, std::ostream& err) {
    SystemUptime uptime;
    PlanSetup setup(uptime);
    if (!setup.manager.addPlanByType(options.type, "", options.span)) {
        err << "pk10-plan: unknown or refused plan type: " << options.type << "\n";
        return 2;
    }
    out << setup.manager.planAt(1)->strategy->取下期预测(options.seed) << "\n";
    return 0;
}

void addForecastCommand(CLI::App& app, std::ostream& out, std::ostream& err, int& exitCode) {
    auto options = std::make_shared<ForecastOptions>();
    CLI::App* command = app.add_subcommand("forecast", "Print a plan type's forecast for a seed");
    command->add_option("type", options->type, "Plan type, e.g. 冠军单双")->required();
    command->add_option("--seed", options->seed, "Seed of the forecast")->required();
    command->add_option("--span", options->span, "Periods a forecast is held")
        ->capture_default_str();
    command->callback(
        [options, &out, &err, &exitCode] { exitCode = runForecast(*options, out, err); });
}

}  // namespace pk10
