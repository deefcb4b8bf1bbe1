#include "server/draw_store.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace pk10 {
namespace {

class DrawStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("pk10-draw-store-" +
                  std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder);
        path = (folder / "nested" / "draws.sqlite").string();
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    static StoredDraw draw(std::int64_t period) {
        return {period, "2018-06-01 10:00:00", "01,02,03,04,05,06,07,08,09,10"};
    }

    std::filesystem::path folder;
    std::string path;
    std::string error;
};

TEST_F(DrawStoreTest, TheNewestDrawIsTheHighestPeriod) {
    auto store = DrawStore::open(path, error);
    ASSERT_TRUE(store) << error;
    EXPECT_FALSE(store->newest());
    EXPECT_FALSE(store->newestPeriod());
    ASSERT_TRUE(store->insert({draw(99), draw(1000), draw(101)}, error)) << error;
    EXPECT_EQ(store->newest()->period, 1000);
    EXPECT_EQ(store->newestPeriod(), 1000);
    // An older draw arriving late leaves the newest alone; a newer one replaces it.
    ASSERT_TRUE(store->insert({draw(500)}, error)) << error;
    EXPECT_EQ(store->newestPeriod(), 1000);
    ASSERT_TRUE(store->insert({draw(1001)}, error)) << error;
    EXPECT_EQ(store->newestPeriod(), 1001);
    EXPECT_EQ(store->newest()->period, 1001);
    const auto recent = store->recent();
    ASSERT_EQ(recent->size(), 5U);
    EXPECT_EQ((*recent)[1].period, 1000);
    EXPECT_EQ((*recent)[4].period, 99);
}

TEST_F(DrawStoreTest, KeepsEveryDrawAcrossReopeningAndIgnoresRepeats) {
    {
        auto store = DrawStore::open(path, error);
        ASSERT_TRUE(store) << error;
        std::vector<StoredDraw> draws;
        for (int period = 1; period <= 600; ++period) {
            draws.push_back(draw(period));
        }
        ASSERT_TRUE(store->insert(draws, error)) << error;
        StoredDraw changed = draw(600);
        changed.numbers = "10,09,08,07,06,05,04,03,02,01";
        ASSERT_TRUE(store->insert({changed}, error)) << error;
    }
    auto store = DrawStore::open(path, error);
    ASSERT_TRUE(store) << error;
    EXPECT_EQ(store->count(), 600);
    EXPECT_EQ(*store->newest(), draw(600));
    const auto recent = store->recent();
    ASSERT_EQ(recent->size(), DrawStore::kRecentCount);
    EXPECT_EQ(recent->back().period, 101);
}

TEST_F(DrawStoreTest, ASnapshotStaysAsItWas) {
    auto store = DrawStore::open(path, error);
    ASSERT_TRUE(store) << error;
    ASSERT_TRUE(store->insert({draw(1)}, error));
    const auto before = store->recent();
    ASSERT_TRUE(store->insert({draw(2)}, error));
    EXPECT_EQ(before->size(), 1U);
    EXPECT_EQ(store->recent()->size(), 2U);
}

TEST_F(DrawStoreTest, ReportsAStoreItCannotOpen) {
    std::filesystem::create_directories(folder);
    EXPECT_FALSE(DrawStore::open(folder.string(), error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace pk10
