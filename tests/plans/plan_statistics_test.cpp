#include "plans/plan_statistics.h"

#include <gtest/gtest.h>

#include <array>

namespace pk10 {
namespace {

TEST(PlanStatistics, HitRateRoundsHalvesAwayFromZeroWithoutTrailingZeros) {
    const std::array cases{
        std::tuple{30, 24, "80"},   std::tuple{3, 2, "66.67"}, std::tuple{7, 4, "57.14"},
        std::tuple{1, 0, "0"},      std::tuple{0, 0, "0"},     std::tuple{8, 1, "12.5"},
        std::tuple{800, 1, "0.13"},  // 0.125 rounds up
        std::tuple{3, 1, "33.33"},  std::tuple{1, 1, "100"},   std::tuple{6, 5, "83.33"},
    };
    for (const auto& [total, hits, rate] : cases) {
        EXPECT_EQ(formatHitRate(total, hits), rate) << total << "/" << hits;
    }
}

TEST(PlanStatistics, Sentence) {
    EXPECT_EQ(statisticsSentence({30, 24, 5}),
              "当前计划统计：总计30期，中24期，挂5期，中奖率为80%\r\n彩票有风险，投注需谨慎！");
}

TEST(PlanStatistics, CountsTheOpenEntryInTheTotalOnly) {
    Plan plan;
    plan.entries.resize(3);
    plan.entries[0].state = EntryState::Hit;
    plan.entries[1].state = EntryState::Miss;
    const auto s = PlanStatistics::of(&plan);
    EXPECT_EQ(s.total, 3);
    EXPECT_EQ(s.hits, 1);
    EXPECT_EQ(s.misses, 1);
    EXPECT_EQ(PlanStatistics::of(nullptr).total, 0);
}

}  // namespace
}  // namespace pk10
