#include <gtest/gtest.h>

#include "plans/plan_fixture.h"

namespace pk10 {
namespace {

PlanEntry entry(const char* first, const char* last, EntryState state, const char* forecast,
                const char* result) {
    return PlanEntry{first, last, state, forecast, result, ""};
}

class PlanTextTest : public ::testing::Test, protected testing::PlanFixture {
protected:
    Plan plan(int style, int span) const {
        Plan p;
        p.name = style == 1 ? "冠军单双" : "冠军5胆3期";
        p.displayStyle = style;
        p.span = span;
        p.entries = {entry("101", "103", EntryState::Hit, "单", "102"),
                     entry("103", "105", EntryState::Miss, "双", "105"),
                     entry("106", "108", EntryState::Waiting, "单", "106")};
        return p;
    }
};

TEST_F(PlanTextTest, StyleOneShowsTheForecastOnEveryLine) {
    EXPECT_EQ(manager.renderPlan(plan(1, 3), ""),
              "101→103期 冠军单双【单】 102期→中\r\n"
              "103→105期 冠军单双【双】 105期→无\r\n"
              "106→108期 冠军单双【单】 等开\r\n");
    const std::string single = "101期 冠军单双【单】 102期→中\r\n";
    EXPECT_EQ(manager.renderPlan(plan(1, 1), "").substr(0, single.size()), single);
}

TEST_F(PlanTextTest, StyleTwoShowsTheOpenForecastOnceBelow) {
    EXPECT_EQ(manager.renderPlan(plan(2, 3), ""),
              "101→103期 冠军5胆3期 102期→中\r\n"
              "103→105期 冠军5胆3期 105期→无\r\n"
              "106→108期 冠军5胆3期 等开\r\n"
              "\r\n\r\n 单\r\n");
}

TEST_F(PlanTextTest, PrefixGoesBeforeTheNameAndEmptyPlansRenderNothing) {
    Plan p = plan(1, 2);
    p.entries.resize(1);
    EXPECT_EQ(manager.renderPlan(p, "甲"), "101→103期 甲冠军单双【单】 102期→中\r\n");
    p.entries.clear();
    EXPECT_EQ(manager.renderPlan(p, ""), "");
    p.displayStyle = 2;
    EXPECT_EQ(manager.renderPlan(p, ""), "");
}

}  // namespace
}  // namespace pk10
