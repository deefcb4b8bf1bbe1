#include <gtest/gtest.h>

#include <array>

#include "plans/plan_fixture.h"

namespace pk10 {
namespace {

class PlanTypeTest : public ::testing::Test, protected testing::PlanFixture {};

TEST_F(PlanTypeTest, RecognisedTypesConfigureTheirStrategy) {
    struct Case {
        const char* type;
        const char* name;
        int span;
        const char* planName;  // name of the added plan
        int displayStyle;
        int planSpan;
        int seed;
        const char* forecast;  // the plan strategy's forecast for `seed`
    };
    const std::array cases{
        Case{"冠军单双", "冠军单双", 2, "冠军单双", 1, 2, 0, "单"},
        Case{"10号大小", "x", 1, "x", 1, 1, 0, "小"},
        Case{"亚军单双3期", "y", 3, "y", 1, 3, 1, "双"},
        Case{"冠亚和值单双", "s", 2, "s", 1, 2, 0, "单"},
        Case{"冠亚和值大小", "t", 2, "t", 1, 2, 1, "大"},
        Case{"季军0胆", "", 2, "季军3胆2期", 2, 2, 0, "08 09 10"},
        Case{"冠军5胆3期", "", 1, "冠军5胆1期", 2, 1, 1, "01 02 05 08 10"},
        Case{"前3名5*5*5注", "g", 2, "g", 2, 2, 1, "125810,23569,23678"},
        Case{"前3名10*10*1注", "h", 2, "h", 2, 2, 3, "12345678910,12345678910,5"},
        // The span lookup by the empty name misses, so the strategy's span (0 -> 3) stays.
        Case{"7号车位置", "", 0, "7号车位置", 2, 3, 0, "01 06 08 09 10"},
        Case{"前5独胆", "z", 2, "前5独胆", 1, 3, 0, "09"},
    };
    for (const auto& c : cases) {
        manager.clear();
        ASSERT_TRUE(manager.addPlanByType(c.type, c.name, c.span)) << c.type;
        ASSERT_EQ(manager.planCount(), 1);
        const Plan& plan = *manager.planAt(1);
        EXPECT_EQ(plan.name, c.planName) << c.type;
        EXPECT_EQ(plan.displayStyle, c.displayStyle) << c.type;
        EXPECT_EQ(plan.span, c.planSpan) << c.type;
        EXPECT_EQ(plan.strategy->取下期预测(c.seed), c.forecast) << c.type;
    }
}

TEST_F(PlanTypeTest, UnrecognisedOrImpossibleTypesAddNothing) {
    for (const char* type :
         {"", "冠军单双 ", "x冠军单双", "前3名5*5*10注", "0号单双", "11号单双", "冠军11胆",
          "前11名1*1*1*1*1*1*1*1*1*1*1注", "前3名11*1注", "前6独胆", "\xff\xfe"}) {
        EXPECT_FALSE(manager.addPlanByType(type, "n", 3)) << type;
    }
    EXPECT_EQ(manager.planCount(), 0);
}

TEST_F(PlanTypeTest, TheProductPlanOddEvenOfTheChampion) {
    ASSERT_TRUE(manager.addPlanByType("冠军单双", "冠军单双", 3));
    const Plan& plan = *manager.planAt(1);
    EXPECT_EQ(plan.nameSeed, 7944813);
    EXPECT_TRUE(plan.strategy->验证预测(
        {"07", "01", "02", "03", "04", "05", "06", "08", "09", "10"}, "单"));
}

TEST_F(PlanTypeTest, AnEmptyNameSetsTheSpanOfTheFirstUnnamedPlanOnly) {
    ASSERT_TRUE(manager.addPlanByType("冠军单双", "", 2));
    ASSERT_TRUE(manager.addPlanByType("亚军单双", "", 1));
    EXPECT_EQ(manager.planAt(1)->span, 1);
    EXPECT_EQ(manager.planAt(2)->span, 3);
}

}  // namespace
}  // namespace pk10
