#include "server/draw_source.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "server/draw_import.h"
#include "tests/support/fake_time.h"
#include "tests/support/temporary_folder.h"

namespace pk10 {
namespace {

class DrawSourceTest : public ::testing::Test {
protected:
    void SetUp() override {
        store = DrawStore::open((folder / "draws.sqlite").string(), error);
        ASSERT_TRUE(store) << error;
        clock.offset = 8 * 3600;
    }
    std::string localNow() const { return formatCivilTime(clock.now + clock.offset); }

    testing::TemporaryFolder temporary;
    std::filesystem::path folder = temporary.path;
    std::unique_ptr<DrawStore> store;
    testing::FakeClock clock;
    std::string error;
};

TEST(RandomDrawNumbers, IsAPermutationOfTheTenCars) {
    for (int i = 0; i < 50; ++i) {
        const std::string numbers = randomDrawNumbers();
        ASSERT_EQ(numbers.size(), 29U);
        std::string sorted = numbers;
        std::vector<std::string> cars;
        for (std::size_t at = 0; at < numbers.size(); at += 3) {
            cars.push_back(numbers.substr(at, 2));
        }
        std::sort(cars.begin(), cars.end());
        EXPECT_EQ(cars, (std::vector<std::string>{"01", "02", "03", "04", "05", "06", "07", "08",
                                                  "09", "10"}));
    }
}

TEST_F(DrawSourceTest, SimulationBackFillsAHistoryThenDrawsEveryInterval) {
    DrawSourceSettings settings;
    settings.intervalSeconds = 300;
    DrawPublisher publisher(*store, clock, settings);
    ASSERT_TRUE(publisher.prime(error)) << error;
    const auto history = store->recent();
    ASSERT_EQ(history->size(), DrawPublisher::kHistoryCount);
    EXPECT_EQ(history->front().drawTime, localNow());
    EXPECT_EQ(history->front().period - history->back().period, 499);
    EXPECT_EQ(*parseCivilTime((*history)[0].drawTime) - *parseCivilTime((*history)[1].drawTime),
              300);

    clock.now += 299;
    EXPECT_EQ(publisher.step(error), clock.now + 1);
    EXPECT_EQ(store->count(), 500);

    clock.now += 1;
    EXPECT_EQ(publisher.step(error), clock.now + 300);
    EXPECT_EQ(store->count(), 501);
    EXPECT_EQ(store->newest()->period, history->front().period + 1);
    EXPECT_EQ(store->newest()->drawTime, localNow());
}

TEST_F(DrawSourceTest, ReplayPublishesTheFileInOrderAndCarriesOnAfterARestart) {
    std::vector<CsvDraw> rows;
    for (int i = 0; i < 502; ++i) {
        rows.push_back({1000 + i, "", "01,02,03,04,05,06,07,08,09,10"});
    }
    DrawSourceSettings settings;
    settings.mode = DrawSourceSettings::Mode::Replay;
    settings.intervalSeconds = 60;
    settings.replay = rows;
    {
        DrawPublisher publisher(*store, clock, settings);
        ASSERT_TRUE(publisher.prime(error)) << error;
        EXPECT_EQ(store->newest()->period, 1499);
        clock.now += 60;
        publisher.step(error);
        EXPECT_EQ(store->newest()->period, 1500);
    }
    DrawPublisher restarted(*store, clock, settings);
    ASSERT_TRUE(restarted.prime(error));
    EXPECT_EQ(store->count(), 501);
    clock.now += 60;
    EXPECT_EQ(restarted.step(error), std::nullopt);
    EXPECT_EQ(store->newest()->period, 1501);
    clock.now += 60;
    restarted.step(error);
    EXPECT_EQ(store->count(), 502);
}

TEST(LoadDrawFile, ReadsTheBundledDraws) {
    std::vector<CsvDraw> draws;
    std::string error;
    ASSERT_TRUE(loadDrawFile(PK10_SOURCE_DIR "/data/pk10-draws-2016.csv", draws, error)) << error;
    ASSERT_EQ(draws.size(), 2621U);
    EXPECT_EQ(draws.front().period, 574350);
    EXPECT_EQ(draws.front().drawTime, "2016-09-06 20:02:00");
    EXPECT_TRUE(std::is_sorted(draws.begin(), draws.end(),
                               [](const auto& a, const auto& b) { return a.period < b.period; }));

    ASSERT_TRUE(loadDrawFile(PK10_SOURCE_DIR "/data/pk10-draws-2018.csv", draws, error)) << error;
    const std::vector<StoredDraw> stored = toStoredDraws(draws, 1000000, 300);
    ASSERT_EQ(stored.size(), 10000U);
    EXPECT_EQ(stored.back().drawTime, formatCivilTime(1000000));
    EXPECT_EQ(stored.front().drawTime, formatCivilTime(1000000 - 9999 * 300));
}

}  // namespace
}  // namespace pk10
