#include "cli/backtest_command.h"

#include <fstream>

#include "plans/plan_controller.h"
#include "plans/plan_setup.h"
#include "plans/plan_statistics.h"
#include "service/draw_csv.h"

namespace pk10 {
namespace {

struct CapturingBox final : PlanBox {
    void showText(std::string_view text) override { shown = text; }
    std::string shown;
};

std::string shapedText(PlanSetup& setup, const Uptime& uptime, const BacktestOptions& options,
                       const std::vector<DrawCsvRow>& rows) {
    DrawHistory history;  // newest first
    for (auto row = rows.rbegin(); row != rows.rend() && history.size() < 50; ++row) {
        history.push_back(
            DrawRecord{"pk10", row->period, row->drawTime, row->numbers, row->drawValue()});
    }
    NoEventPump pump;
    CapturingBox box;
    PlanController controller(setup.manager, history, uptime, pump);
    controller.bind(box, options.type);
    controller.rebuild(options.span);
    return box.shown;
}

}  // namespace

int runBacktest(const BacktestOptions& options, std::ostream& out, std::ostream& err) {
    std::ifstream file(options.drawsFile, std::ios::binary);
    if (!file) {
        err << "pk10-plan: cannot read " << options.drawsFile << "\n";
        return 1;
    }
    const DrawCsvResult draws = readDrawCsv(file);
    if (!draws.ok()) {
        err << "pk10-plan: " << options.drawsFile << ": " << draws.error << "\n";
        return 1;
    }
    SystemUptime uptime;
    PlanSetup setup(uptime);
    if (!setup.addProductPlan(options.type, options.type, options.span)) {
        err << "pk10-plan: unknown or refused plan type: " << options.type << "\n";
        return 2;
    }
    if (options.shaped) {
        out << shapedText(setup, uptime, options, draws.rows) << "\r\n";
        return 0;
    }
    for (const DrawCsvRow& row : draws.rows) {
        setup.manager.feedDraw(row.period, row.numbers, row.drawValue(), "");
    }
    out << planBoxText(setup.manager, options.type) << "\r\n";
    return 0;
}

void addBacktestCommand(CLI::App& app, std::ostream& out, std::ostream& err, int& exitCode) {
    auto options = std::make_shared<BacktestOptions>();
    CLI::App* command =
        app.add_subcommand("backtest", "Run a plan over a file of real draws and print it");
    command->add_option("type", options->type, "Plan type, e.g. 冠军单双")->required();
    command->add_option("--draws", options->drawsFile, "CSV of draws, oldest first")->required();
    command->add_option("--span", options->span, "Periods a forecast is held")
        ->capture_default_str();
    command->add_flag("--shaped", options->shaped,
                      "Rebuild from the newest 50 draws as the program does at start-up");
    command->callback(
        [options, &out, &err, &exitCode] { exitCode = runBacktest(*options, out, err); });
}

}  // namespace pk10
