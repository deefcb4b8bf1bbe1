#include "plans/plan_manager.h"

#include <gtest/gtest.h>

#include <array>

#include "plans/plan_fixture.h"

namespace pk10 {
namespace {

using testing::kHit;
using testing::kMiss;

class PlanManagerTest : public ::testing::Test, protected testing::PlanFixture {
protected:
    void SetUp() override { manager.setResetAfterMisses(0); }

    const Plan& plan() const { return *manager.planAt(1); }
    const PlanEntry& last() const { return plan().entries.back(); }
    static std::string text(std::int64_t value) {
        return std::to_string(static_cast<std::int32_t>(value));
    }
};

TEST_F(PlanManagerTest, NameSeedsComeFromTheMd5OfTheGbkName) {
    EXPECT_EQ(PlanManager::planNameSeed("冠军单双"), 7944813);  // digest 793A6D...
    EXPECT_EQ(PlanManager::managerNameSeed("冠军单双"), 2033872191);
    manager.setName("冠军单双");
    EXPECT_EQ(manager.nameSeed(), 2033872191);
    manager.clear();
    EXPECT_EQ(manager.nameSeed(), 0);
    EXPECT_EQ(manager.hitRate(), 0);
}

TEST_F(PlanManagerTest, PeriodArithmetic) {
    const std::array cases{std::tuple{"100", 1, "101"}, std::tuple{"0099", 0, "99"},
                           std::tuple{"abc", 1, "1"}, std::tuple{"5", -6, "-1"},
                           std::tuple{"2147483647", 1, "-2147483648"}};
    for (const auto& [period, offset, expected] : cases) {
        EXPECT_EQ(PlanManager::offsetPeriod(period, offset), expected) << period;
    }
}

TEST_F(PlanManagerTest, AFirstDrawOpensAnEntryAtItsOwnPeriodAndTestsIt) {
    addEchoPlan("P", 3);
    ASSERT_TRUE(manager.feedDraw("101", kMiss, 7, ""));
    ASSERT_EQ(plan().entryCount(), 1);
    EXPECT_EQ(last().firstPeriod, "101");
    EXPECT_EQ(last().lastPeriod, "103");
    EXPECT_EQ(last().state, EntryState::Waiting);
    EXPECT_EQ(last().resultPeriod, "101");
    EXPECT_EQ(last().resultDraw, kMiss);
    // seed = manager name seed (0) + period + seed part, plus the plan's own name seed
    EXPECT_EQ(last().forecast, text(101 + 7 + PlanManager::planNameSeed("P")));
}

TEST_F(PlanManagerTest, AnEntryWaitsThroughItsPeriodsUntilAHitOrAFinalMiss) {
    addEchoPlan("P", 3);
    manager.feedDraw("101", kMiss, 7, "");
    manager.feedDraw("102", kMiss, 7, "");
    EXPECT_EQ(last().state, EntryState::Waiting);
    EXPECT_EQ(last().resultPeriod, "102");
    manager.feedDraw("103", kMiss, 7, "");
    ASSERT_EQ(plan().entryCount(), 2);
    EXPECT_EQ(plan().entries[0].state, EntryState::Miss);
    EXPECT_EQ(plan().entries[0].resultPeriod, "103");
    EXPECT_EQ(last().firstPeriod, "104");
    EXPECT_EQ(last().lastPeriod, "106");
    manager.feedDraw("104", kHit, 7, "");
    ASSERT_EQ(plan().entryCount(), 3);
    EXPECT_EQ(plan().entries[1].state, EntryState::Hit);
    EXPECT_EQ(plan().entries[1].resultPeriod, "104");
    EXPECT_EQ(last().firstPeriod, "105");
}

TEST_F(PlanManagerTest, ADrawPastTheLastCoveredPeriodIsAFinalMiss) {
    addEchoPlan("P", 3);
    manager.feedDraw("101", kMiss, 7, "");
    manager.feedDraw("110", kMiss, 7, "");  // 102..109 were never drawn
    ASSERT_EQ(plan().entryCount(), 2);
    EXPECT_EQ(plan().entries[0].state, EntryState::Miss);
    EXPECT_EQ(plan().entries[0].resultPeriod, "110");
    EXPECT_EQ(last().firstPeriod, "111");
}

TEST_F(PlanManagerTest, SpanOneSettlesEveryDraw) {
    addEchoPlan("P", 1);
    for (const char* period : {"1", "2", "3"}) {
        manager.feedDraw(period, kMiss, 7, "");
    }
    ASSERT_EQ(plan().entryCount(), 4);
    EXPECT_EQ(plan().entries[2].state, EntryState::Miss);
    EXPECT_EQ(last().firstPeriod, "4");
    EXPECT_EQ(last().lastPeriod, "4");
}

TEST_F(PlanManagerTest, MalformedDrawsAndAZeroSeedPartChangeNothing) {
    addEchoPlan("P", 3);
    EXPECT_FALSE(manager.feedDraw("101", "1,2,3", 7, ""));
    EXPECT_FALSE(manager.feedDraw("101", kMiss, 7, "1,2,3"));
    EXPECT_EQ(plan().entryCount(), 0);
    EXPECT_TRUE(manager.feedDraw("101", kMiss, 0, ""));
    EXPECT_EQ(plan().entryCount(), 0);
    EXPECT_TRUE(manager.feedDraw("101", "1,2,3,4,5,6,7,8,9,10,", 7, ""));
    EXPECT_EQ(plan().entryCount(), 1);
}

TEST_F(PlanManagerTest, KnownDrawsAreShapedTowardsTheTarget) {
    // With the next draw a hit, a wanted hit stops at the first candidate (seed + uptime + 1);
    // a wanted miss never matches and keeps the tenth (seed + 10 uptimes + 10).
    struct Case {
        int hitRate;
        std::vector<const char*> before;  // live draws that settle earlier entries (span 1)
        const char* last;                 // the draw that settles the entry before the shaped one
        bool wantHit;
    };
    const std::array cases{
        Case{100, {}, kMiss, true},
        Case{0, {}, kMiss, false},                         // r = 38, then 43: both above 0
        Case{0, {kMiss}, kMiss, true},                     // two misses: target 100
        Case{100, {kHit, kHit, kHit, kHit}, kHit, false},  // five hits: target 0
        Case{100, {kHit, kHit, kHit}, kHit, true},
        Case{0, {kMiss}, kHit, false},
    };
    for (const auto& c : cases) {
        manager.clear();
        manager.setResetAfterMisses(0);
        manager.setHitRate(c.hitRate);
        addEchoPlan("P", 1);
        int period = 1;
        for (const char* draw : c.before) {
            manager.feedDraw(std::to_string(period++), draw, 7, "");
        }
        random.seed(0);  // the target draws r = 38 % 101, then 7719 % 101
        uptime.now = 1000;
        manager.feedDraw(std::to_string(period), c.last, 7, kHit);
        const std::int64_t seed = period + 7;
        EXPECT_EQ(last().forecast, text(c.wantHit ? seed + 1001 : seed + 10010))
            << c.hitRate << " after " << c.before.size();
    }
}

TEST_F(PlanManagerTest, RecentStates) {
    addEchoPlan("P", 1);
    manager.feedDraw("1", kMiss, 7, "");  // entries: Miss, Waiting
    EXPECT_FALSE(manager.hasRecentStates(plan(), EntryState::Miss, 2, 2, true));
    EXPECT_TRUE(manager.hasRecentStates(plan(), EntryState::Miss, 2, 1, false));
    manager.feedDraw("2", kHit, 7, "");  // Miss, Hit, Waiting
    EXPECT_FALSE(manager.hasRecentStates(plan(), EntryState::Miss, 3, 1, true));
    EXPECT_TRUE(manager.hasRecentStates(plan(), EntryState::Miss, 3, 1, false));
    EXPECT_FALSE(manager.hasRecentStates(plan(), EntryState::Miss, 2, 1, false));
}

TEST_F(PlanManagerTest, EntryLimitDropsTheOldest) {
    addEchoPlan("P", 1);
    manager.setMaxEntries(5);
    for (int period = 1; period <= 8; ++period) {
        manager.feedDraw(std::to_string(period), kMiss, 7, "");
    }
    ASSERT_EQ(plan().entryCount(), 5);
    EXPECT_EQ(plan().entries.front().firstPeriod, "5");
}

TEST_F(PlanManagerTest, TwoMissesAmongTheLastThreeResetThePlanWhenAsked) {
    manager.setResetAfterMisses(1);
    addEchoPlan("P", 1);
    manager.feedDraw("1", kMiss, 7, "");
    EXPECT_EQ(plan().entryCount(), 2);
    manager.feedDraw("2", kMiss, 7, "");
    ASSERT_EQ(plan().entryCount(), 1);
    EXPECT_EQ(last().firstPeriod, "3");
}

TEST_F(PlanManagerTest, LookupsAndCopies) {
    addEchoPlan("A", 3);
    addEchoPlan("B", 2);
    addEchoPlan("A", 1);
    EXPECT_EQ(manager.planCount(), 3);
    EXPECT_EQ(manager.findPlan("A"), 1);
    EXPECT_EQ(manager.findPlan("C"), 0);
    EXPECT_EQ(manager.planNameAt(2), "B");
    EXPECT_EQ(manager.planNameAt(4), "");
    EXPECT_EQ(manager.renderPlanAt(0), "");
    EXPECT_EQ(manager.currentForecastAt(1), "");

    manager.feedDraw("10", kMiss, 7, "");
    Plan copy;
    manager.copyPlanNamed("B", copy);
    EXPECT_EQ(copy.span, 2);
    manager.feedDraw("11", kHit, 7, "");
    EXPECT_EQ(copy.entryCount(), 1);
    EXPECT_EQ(copy.strategy->取下期预测(5), "5");
    manager.copyPlanAt(9, copy);
    EXPECT_EQ(copy.name, "B");

    manager.removePlan("A");
    EXPECT_EQ(manager.planCount(), 2);
    EXPECT_EQ(manager.planNameAt(1), "B");
    manager.setPlanSpan(4, "", false);
    EXPECT_EQ(manager.planAt(2)->span, 4);
    manager.clearEntries();
    EXPECT_EQ(manager.planAt(1)->entryCount(), 0);
    EXPECT_EQ(manager.planAt(1)->name, "B");
}

}  // namespace
}  // namespace pk10
