#include "ui/draw_clock.h"

#include <gtest/gtest.h>

#include <array>

#include "plans/plan_controller.h"
#include "strategies/random_generator.h"
#include "strategies/strategy_registry.h"
#include "tests/support/counting_pump.h"
#include "tests/support/fake_time.h"
#include "tests/ui/shell_fakes.h"
#include "ui/draw_timer.h"
#include "ui/time_functions.h"

namespace pk10 {
namespace {

using testing::FakeClock;
using testing::FakeUptime;
using testing::RecordingWindow;
using testing::ScriptedService;

// 2017-07-14 10:40:00 in Beijing.
constexpr std::int64_t kStart = 1500000000;

std::string newestLine(std::string_view period, std::string_view numbers, std::string_view due) {
    return "x| |" + std::string(period) + "| |y| |" + std::string(numbers) + "| |12| |a| |b| |" +
           std::string(due);
}

TEST(DrawClockText, FormatsMinutesAndSecondsWithFullWidthColon) {
    constexpr std::array<std::pair<int, std::string_view>, 7> cases{{{-1, ""},
                                                                     {0, "00：00"},
                                                                     {59, "00：59"},
                                                                     {61, "01：01"},
                                                                     {600, "10：00"},
                                                                     {6000, "100：00"},
                                                                     {-3600, ""}}};
    for (const auto& [seconds, text] : cases) {
        EXPECT_EQ(DrawClock::formatCountdown(seconds), text) << seconds;
    }
}

TEST(DrawClockText, LocalTimeIsReadInTheClocksZone) {
    FakeClock clock;
    const auto due = parseDateTime("2017-07-14 10:45:00");
    ASSERT_TRUE(due);
    EXPECT_EQ(localToUnix(clock, *due), kStart + 300);
    clock.offset = 0;
    EXPECT_EQ(localToUnix(clock, *due), kStart + 300 + 8 * 3600);
    EXPECT_EQ(unixNow(clock, true), clock.now * 1000);
    for (const char* bad :
         {"", "2017-13-01 00:00:00", "2017-02-30 00:00:00", "soon", "2017-07-14 25:00:00"}) {
        EXPECT_FALSE(parseDateTime(bad)) << bad;
    }
}

// The draw clock and the timer handler wired to a scripted service, a set clock and a real plan.
class DrawTimerTest : public ::testing::Test {
protected:
    DrawTimerTest() {
        clock.now = kStart;
        controller.bind(window, "冠军单双");
        manager.addPlanByType("冠军单双", "冠军单双", 1);
        history.assign(50, DrawRecord{});
        for (int i = 0; i < 50; ++i) {
            history[static_cast<std::size_t>(i)] = {"", std::to_string(600 - i), "",
                                                    "1,2,3,4,5,6,7,8,9,10", 0};
        }
        controller.rebuild(1);
        window.events.clear();
    }

    // Three ticks: the handler works on the third.
    void workingTick() {
        for (int i = 0; i < 3; ++i) {
            timer.tick();
        }
    }

    FakeClock clock;
    FakeUptime uptime;
    testing::CountingPump pump;
    ScriptedService service;
    RandomGenerator random;
    StrategyRegistry registry{random, nullptr};
    PlanTypePatterns patterns;
    PlanManager manager{random, uptime, registry, patterns};
    DrawHistory history;
    PlanController controller{manager, history, uptime, pump};
    RecordingWindow window;
    DrawClock drawClock{service, clock};
    LatestDraw latest;
    DrawTimer timer{drawClock, window, pump, controller, latest, history};
};

TEST_F(DrawTimerTest, CountsDownThenShowsDrawingAndPollsAtMostEverySixSeconds) {
    service.newestPeriod = "20170714601";
    service.newestLine = newestLine("600", "1,2,3,4,5,6,7,8,9,10", "2017-07-14 10:40:01");
    // The first poll takes the draw already shown in the history.
    workingTick();
    EXPECT_EQ(drawClock.current().draw.period, "600");
    EXPECT_EQ(drawClock.nextDrawTime(), kStart + 1);
    window.events.clear();
    service.newestDrawCalls = 0;

    clock.now = kStart + 1 - 1;
    workingTick();
    EXPECT_EQ(window.events.back(), "countdown 00：01");
    clock.now = kStart + 1;
    workingTick();
    EXPECT_EQ(window.events.back(), "countdown 00：00");
    EXPECT_EQ(service.newestDrawCalls, 0);

    // Due time past; the previous attempt was at kStart, so polls come at kStart+6, +12, ...
    clock.now = kStart + 2;
    workingTick();
    EXPECT_EQ(window.events.back(), "countdown 正在开奖……");
    EXPECT_EQ(service.latestPeriodCalls, 1);
    for (std::int64_t t = kStart + 3; t <= kStart + 13; ++t) {
        clock.now = t;
        workingTick();
    }
    EXPECT_EQ(service.newestDrawCalls, 2);  // at +6 and +12; the same draw each time
    EXPECT_EQ(window.events.back(), "countdown 正在开奖……");
    EXPECT_EQ(history.size(), 51U) << "only the first poll brought a draw";
}

TEST_F(DrawTimerTest, NewDrawReachesLabelsPlanHistoryAndListInOrder) {
    service.newestPeriod = "20170714601";
    service.newestLine = newestLine("601", "3,1,2,4,5,6,7,8,9,10", "2017-07-14 10:45:00");
    std::size_t historyAtPlan = 0;
    struct Box : PlanBox {
        void showText(std::string_view shown) override {
            text = shown;
            sizeSeen = history->size();
        }
        const DrawHistory* history = nullptr;
        std::size_t sizeSeen = 0;
        std::string text;
    } box;
    box.history = &history;
    controller.bind(box, "冠军单双");
    workingTick();
    historyAtPlan = box.sizeSeen;

    ASSERT_EQ(window.events.size(), 3U);
    EXPECT_EQ(window.events[0], "countdown 正在开奖……");
    EXPECT_EQ(window.events[1], "latest 当前期号：601 3,1,2,4,5,6,7,8,9,10");
    EXPECT_EQ(window.events[2], "row 601");
    EXPECT_EQ(historyAtPlan, 50U) << "the plan sees the draw before the history does";
    EXPECT_NE(box.text.find("602"), std::string::npos) << box.text;
    ASSERT_EQ(history.size(), 51U);
    EXPECT_EQ(history.front().period, "601");
    EXPECT_EQ(history.front().drawValue, 12);
    EXPECT_EQ(drawClock.nextDrawTime(), kStart + 300);

    clock.now = kStart + 10;
    workingTick();
    EXPECT_EQ(window.events.back(), "countdown 04：50");
}

TEST_F(DrawTimerTest, ShortPeriodTextEqualToTheCurrentStopsBeforeTheDrawCall) {
    service.newestPeriod = "20170714601";
    service.newestLine = newestLine("601", "3,1,2,4,5,6,7,8,9,10", "bad time");
    workingTick();
    ASSERT_EQ(drawClock.current().draw.period, "601");
    EXPECT_EQ(drawClock.nextDrawTime(), 0) << "an unreadable due time keeps the clock drawing";

    service.newestPeriod = "601";  // the last three characters equal the whole current period
    clock.now += 6;
    workingTick();
    EXPECT_EQ(service.newestDrawCalls, 1);
    EXPECT_EQ(service.latestPeriodCalls, 2);

    // A full period is never equal to three characters, so the draw call decides.
    service.newestPeriod = "x";
    service.newestLine = newestLine("20170714602", "1,2,3,4,5,6,7,8,9,10", "bad time");
    clock.now += 6;
    workingTick();
    ASSERT_EQ(history.front().period, "20170714602");
    service.newestPeriod = "20170714602";
    clock.now += 6;
    workingTick();
    EXPECT_EQ(service.newestDrawCalls, 3);
    EXPECT_EQ(history.size(), 52U);
}

TEST_F(DrawTimerTest, LineWithoutEightPiecesIsNoDraw) {
    service.newestPeriod = "x";
    service.newestLine = "a| |602| |c";
    LatestDraw out;
    out.draw.period = "keep";
    EXPECT_FALSE(drawClock.poll(out));
    EXPECT_EQ(out.draw.period, "keep");
    clock.now += 5;
    EXPECT_FALSE(drawClock.poll(out));
    EXPECT_EQ(service.latestPeriodCalls, 1) << "a second poll within 6 seconds asks nothing";
}

}  // namespace
}  // namespace pk10
