#include "cli/backtest_command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace pk10 {
namespace {

class BacktestCommandTest : public ::testing::Test {
protected:
    std::string write(const std::string& content) {
        std::ofstream(path_, std::ios::binary) << content;
        return path_.string();
    }
    void TearDown() override { std::filesystem::remove(path_); }

    int run(BacktestOptions options) { return runBacktest(options, out, err); }

    std::filesystem::path path_ =
        std::filesystem::temp_directory_path() /
        ("pk10-backtest-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         ".csv");
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(BacktestCommandTest, FeedsEveryDrawLiveWithItsDrawValue) {
    // Draw values 1+2=3, 4+5=9, 6+7=13. Odd/even of position 1 over span 1.
    const std::string file = write(
        "period,numbers\r\n"
        "100,\"01,02,03,04,05,06,07,08,09,10\"\r\n"
        "101,\"04,05,03,01,02,06,07,08,09,10\"\r\n"
        "102,\"06,07,03,01,02,04,05,08,09,10\"\r\n");
    ASSERT_EQ(run({"冠军单双", file, 1, false}), 0) << err.str();
    const std::string text = out.str();
    EXPECT_TRUE(text.starts_with("100期 冠军单双【"));
    EXPECT_NE(text.find("103期 冠军单双【"), std::string::npos);
    EXPECT_TRUE(text.ends_with("%\r\n彩票有风险，投注需谨慎！\r\n"));
    EXPECT_NE(text.find("总计4期"), std::string::npos);

    std::ostringstream again;
    runBacktest({"冠军单双", file, 1, false}, again, err);
    EXPECT_EQ(again.str(), text);
}

TEST_F(BacktestCommandTest, ReadsTheThreeColumnFormToo) {
    const std::string file = write(
        "period,draw_time,numbers\n"
        "574350,2016-09-06 20:02:00,\"08,10,01,09,06,07,03,02,05,04\"\n");
    ASSERT_EQ(run({"冠军单双", file, 3, false}), 0) << err.str();
    EXPECT_NE(out.str().find("574350→574352期 冠军单双【"), std::string::npos);
}

TEST_F(BacktestCommandTest, ShapedRunRebuildsFromTheNewestFifty) {
    std::string content = "period,numbers\n";
    for (int i = 0; i < 60; ++i) {
        content += std::to_string(1000 + i) + ",\"01,02,03,04,05,06,07,08,09,10\"\n";
    }
    ASSERT_EQ(run({"冠军单双", write(content), 1, true}), 0) << err.str();
    EXPECT_EQ(out.str().substr(0, 4), "1010");                 // draws 1010..1059
    EXPECT_NE(out.str().find("总计51期"), std::string::npos);  // 50 settled, one open
}

TEST_F(BacktestCommandTest, BadInputPrintsNothingOnStdout) {
    const std::array cases{
        std::pair{"period,numbers\n100,01,02\n", "line 2"},
        std::pair{"period,numbers\n100,\"01,02,03\"\n", "line 2"},
        std::pair{"period,numbers\n100,\"01,02,03,04,05,06,07,08,09,10\"\nx,\"01\"\n", "line 3"},
        std::pair{"period,numbers\n100,\"01,01,03,04,05,06,07,08,09,10\"\n", "line 2"},
    };
    for (const auto& [content, where] : cases) {
        out.str("");
        err.str("");
        EXPECT_EQ(run({"冠军单双", write(content), 3, false}), 1) << content;
        EXPECT_EQ(out.str(), "");
        EXPECT_NE(err.str().find(where), std::string::npos) << err.str();
    }
    err.str("");
    EXPECT_EQ(run({"冠军单双", "/nonexistent/draws.csv", 3, false}), 1);
    EXPECT_EQ(out.str(), "");
}

}  // namespace
}  // namespace pk10
