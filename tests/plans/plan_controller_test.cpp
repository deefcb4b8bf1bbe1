#include "plans/plan_controller.h"

#include <gtest/gtest.h>

#include "plans/plan_fixture.h"

namespace pk10 {
namespace {

using testing::kMiss;

struct RecordingBox final : PlanBox {
    void showText(std::string_view text) override { shown.emplace_back(text); }
    std::vector<std::string> shown;
};

struct CountingPump final : EventPump {
    void pumpOnce() override { ++pumps; }
    int pumps = 0;
};

class PlanControllerTest : public ::testing::Test, protected testing::PlanFixture {
protected:
    void SetUp() override {
        manager.setResetAfterMisses(0);
        addEchoPlan("P", 1);
        controller.bind(box, "P");
        uptime.now = 5000;
    }

    // `count` draws, newest first, periods counting down from 1000, all misses.
    void fillHistory(int count) {
        for (int i = 0; i < count; ++i) {
            history.push_back(DrawRecord{"pk10", std::to_string(1000 - i), "", kMiss, 3});
        }
    }

    DrawHistory history;
    RecordingBox box;
    CountingPump pump;
    PlanController controller{manager, history, uptime, pump};
};

TEST_F(PlanControllerTest, RebuildReplaysAtMostFiftyDrawsThenFeedsTheNewest) {
    for (const int size : {12, 80}) {
        history.clear();
        fillHistory(size);
        controller.rebuild(1);
        const Plan& plan = *manager.planAt(1);
        const int replayed = std::min(size, 50);
        ASSERT_EQ(plan.entryCount(), replayed + 1) << size;
        EXPECT_EQ(plan.entries.front().firstPeriod, std::to_string(1000 - replayed + 1)) << size;
        // The newest draw comes with the uptime as seed part and opens the next entry live.
        EXPECT_EQ(plan.entries.back().forecast,
                  std::to_string(1000 + 5000 + PlanManager::planNameSeed("P")));
    }
}

TEST_F(PlanControllerTest, RebuildSetsTheSpanAndShowsThePlanWithItsStatistics) {
    fillHistory(3);
    controller.rebuild(2);
    EXPECT_EQ(manager.planAt(1)->span, 2);
    ASSERT_EQ(box.shown.size(), 1U);
    const std::string& text = box.shown.back();
    EXPECT_EQ(text,
              manager.renderPlanNamed("P") + "\r\n\r\n" +
                  "当前计划统计：总计2期，中0期，挂1期，中奖率为0%\r\n彩票有风险，投注需谨慎！");
    EXPECT_EQ(pump.pumps, 1);
}

TEST_F(PlanControllerTest, ARefusedDrawStillShowsThePlan) {
    controller.onNewDraw(DrawRecord{"pk10", "5", "", "1,2", 3});
    ASSERT_EQ(box.shown.size(), 1U);
    EXPECT_EQ(box.shown[0],
              "\r\n\r\n当前计划统计：总计0期，中0期，挂0期，中奖率为0%\r\n"
              "彩票有风险，投注需谨慎！");
}

}  // namespace
}  // namespace pk10
