// Costs of the plan work the program does per draw and at start-up, on the real 2018 draws.
#include <benchmark/benchmark.h>

#include <fstream>

#include "plans/plan_controller.h"
#include "plans/plan_setup.h"
#include "plans/plan_statistics.h"
#include "service/draw_csv.h"

namespace pk10 {
namespace {

const std::vector<DrawCsvRow>& realDraws() {
    static const std::vector<DrawCsvRow> rows = [] {
        std::ifstream file(PK10_SOURCE_DIR "/data/pk10-draws-2018.csv", std::ios::binary);
        return readDrawCsv(file).rows;
    }();
    return rows;
}

struct Setup : PlanSetup {
    Setup() : PlanSetup(uptime) { addProductPlan("冠军单双", "冠军单双", 3); }

    // Feeds real draws live until the plan holds `entries` entries.
    void grow(std::size_t entries) {
        const auto& rows = realDraws();
        int period = 1;
        while (static_cast<std::size_t>(manager.planAt(1)->entryCount()) < entries) {
            const DrawCsvRow& row = rows[static_cast<std::size_t>(period) % rows.size()];
            manager.feedDraw(std::to_string(period++), row.numbers, row.drawValue(), "");
        }
        nextPeriod = period;
    }
    int nextPeriod = 1;
    static inline SystemUptime uptime;
};

struct NullBox final : PlanBox {
    void showText(std::string_view text) override { benchmark::DoNotOptimize(text.data()); }
};

void BM_Rebuild50(benchmark::State& state) {
    Setup setup;
    DrawHistory history;
    const auto& rows = realDraws();
    for (std::size_t i = 0; i < 50; ++i) {
        const DrawCsvRow& row = rows[rows.size() - 1 - i];
        history.push_back(DrawRecord{"pk10", row.period, "", row.numbers, row.drawValue()});
    }
    NoEventPump pump;
    NullBox box;
    PlanController controller(setup.manager, history, setup.uptime, pump);
    controller.bind(box, "冠军单双");
    for (auto _ : state) {
        controller.rebuild(3);
    }
}
BENCHMARK(BM_Rebuild50)->Unit(benchmark::kMicrosecond);

void BM_Backtest10000(benchmark::State& state) {
    const auto& rows = realDraws();
    for (auto _ : state) {
        Setup setup;
        for (const DrawCsvRow& row : rows) {
            setup.manager.feedDraw(row.period, row.numbers, row.drawValue(), "");
        }
        benchmark::DoNotOptimize(planBoxText(setup.manager, "冠军单双"));
    }
    state.counters["draws"] = static_cast<double>(rows.size());
}
BENCHMARK(BM_Backtest10000)->Unit(benchmark::kMillisecond);

void BM_RenderPlan(benchmark::State& state) {
    Setup setup;
    setup.grow(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(setup.manager.renderPlanAt(1));
    }
}
BENCHMARK(BM_RenderPlan)->Arg(100)->Arg(100000)->Unit(benchmark::kMicrosecond);

// What one new draw costs the plan: feed, render and statistics.
void BM_NewDraw(benchmark::State& state) {
    Setup setup;
    setup.grow(static_cast<std::size_t>(state.range(0)));
    // Keeps the plan at its size while the benchmark feeds draws.
    setup.manager.setMaxEntries(static_cast<std::int32_t>(state.range(0)));
    const auto& rows = realDraws();
    for (auto _ : state) {
        const DrawCsvRow& row = rows[static_cast<std::size_t>(setup.nextPeriod) % rows.size()];
        setup.manager.feedDraw(std::to_string(setup.nextPeriod++), row.numbers, row.drawValue(),
                               "");
        benchmark::DoNotOptimize(planBoxText(setup.manager, "冠军单双"));
    }
}
BENCHMARK(BM_NewDraw)->Arg(100)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace pk10

BENCHMARK_MAIN();
