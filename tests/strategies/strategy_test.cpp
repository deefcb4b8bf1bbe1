#include <gtest/gtest.h>

#include <array>

#include "service/text_rules.h"
#include "strategies/strategy_registry.h"
#include "support/recording_message_sink.h"

namespace pk10 {
namespace {

// A draw whose first items are given; the rest are filled with numbers not given.
DrawNumbers draw(std::initializer_list<std::string> leading) {
    DrawNumbers numbers(leading);
    for (int n = 1; numbers.size() < 10; ++n) {
        const std::string text = twoDigits(n);
        if (std::find(numbers.begin(), numbers.end(), text) == numbers.end()) {
            numbers.push_back(text);
        }
    }
    return numbers;
}

class StrategyTest : public ::testing::Test {
protected:
    RandomGenerator random;
    testing::RecordingMessageSink messages;
    StrategyRegistry registry{random, &messages};
};

TEST_F(StrategyTest, TwoWordForecastsDependOnlyOnTheSeed) {
    registry.positionOddEven.configure(1, "");
    registry.positionBigSmall.configure(1, "");
    registry.sumOddEven.configure(1, 2, "");
    registry.sumBigSmall.configure(1, 2, "");
    const std::array cases{std::pair{0, true}, std::pair{1, false}, std::pair{2, false},
                           std::pair{-1, false}, std::pair{12345, true}};
    for (const auto& [seed, first] : cases) {
        EXPECT_EQ(registry.positionOddEven.取下期预测(seed), first ? "单" : "双") << seed;
        EXPECT_EQ(registry.sumOddEven.取下期预测(seed), first ? "单" : "双") << seed;
        EXPECT_EQ(registry.positionBigSmall.取下期预测(seed), first ? "小" : "大") << seed;
        EXPECT_EQ(registry.sumBigSmall.取下期预测(seed), first ? "小" : "大") << seed;
    }
}

TEST_F(StrategyTest, TwoWordHitTests) {
    auto& oddEven = registry.positionOddEven;
    oddEven.configure(1, "冠军单双");
    EXPECT_TRUE(oddEven.验证预测(draw({"07"}), "单"));
    EXPECT_FALSE(oddEven.验证预测(draw({"07"}), "双"));
    EXPECT_TRUE(oddEven.验证预测(draw({"10"}), "双"));
    EXPECT_FALSE(oddEven.验证预测(draw({"07"}), "单 "));
    EXPECT_FALSE(oddEven.验证预测(draw({"07"}), "大"));
    EXPECT_TRUE(oddEven.验证预测(draw({"x"}), "双"));  // not a number: 0, even

    auto& bigSmall = registry.positionBigSmall;
    bigSmall.configure(2, "");
    EXPECT_TRUE(bigSmall.验证预测(draw({"01", "05"}), "小"));
    EXPECT_TRUE(bigSmall.验证预测(draw({"01", "06"}), "大"));

    registry.sumOddEven.configure(1, 2, "");
    EXPECT_TRUE(registry.sumOddEven.验证预测(draw({"03", "08"}), "单"));
    registry.sumBigSmall.configure(1, 2, "");
    EXPECT_TRUE(registry.sumBigSmall.验证预测(draw({"03", "08"}), "小"));  // 11
    EXPECT_TRUE(registry.sumBigSmall.验证预测(draw({"03", "09"}), "大"));  // 12
}

TEST_F(StrategyTest, NumberSetForecasts) {
    registry.positionPick.configure(1, 3, "", 0);
    registry.carPosition.configure(7, 3, "", 0);
    registry.singleNumber.configure(1, 5, "");
    const std::array picks{std::tuple{0, "08 09 10", "09"}, std::tuple{1, "02 05 08", "02"},
                           std::tuple{12345, "05 06 09", "05"}, std::tuple{2, "", "06"}};
    for (const auto& [seed, pick, single] : picks) {
        if (*pick != '\0') {
            EXPECT_EQ(registry.positionPick.取下期预测(seed), pick) << seed;
            EXPECT_EQ(registry.carPosition.取下期预测(seed), pick) << seed;
        }
        EXPECT_EQ(registry.singleNumber.取下期预测(seed), single) << seed;
    }
    registry.positionPick.configure(1, 10, "", 0);
    for (const int seed : {0, 99, -7}) {
        EXPECT_EQ(registry.positionPick.取下期预测(seed), "01 02 03 04 05 06 07 08 09 10");
    }
}

TEST_F(StrategyTest, NumberSetConfigurationMakesDefaultNames) {
    registry.positionPick.configure(2, 4, "", 5);
    EXPECT_EQ(registry.positionPick.name(), "亚军4胆5期");
    EXPECT_EQ(registry.positionPick.span(), 5);
    EXPECT_EQ(registry.positionPick.displayStyle(), 2);
    registry.positionPick.configure(1, 5, "", 0);
    EXPECT_EQ(registry.positionPick.name(), "冠军5胆3期");
    registry.carPosition.configure(3, 5, "", 0);
    EXPECT_EQ(registry.carPosition.name(), "3号车位置");
    EXPECT_EQ(registry.carPosition.span(), 3);
    registry.singleNumber.configure(1, 5, "");
    EXPECT_EQ(registry.singleNumber.displayStyle(), 1);
    EXPECT_EQ(registry.singleNumber.span(), 3);
}

TEST_F(StrategyTest, NumberSetHitTests) {
    registry.positionPick.configure(1, 3, "", 0);
    EXPECT_TRUE(registry.positionPick.验证预测(draw({"10"}), "02 05 10"));
    EXPECT_FALSE(registry.positionPick.验证预测(draw({"01"}), "02 05 10"));
    EXPECT_FALSE(registry.positionPick.验证预测(draw({""}), "02 05 10"));

    registry.carPosition.configure(7, 5, "", 0);
    EXPECT_TRUE(registry.carPosition.验证预测(draw({"01", "02", "03", "07"}), "01 04 08 09 10"));
    EXPECT_FALSE(registry.carPosition.验证预测(draw({"01", "07"}), "01 04 08 09 10"));
    registry.carPosition.configure(0, 5, "", 0);
    EXPECT_FALSE(registry.carPosition.验证预测(draw({"01"}), "11 12 13 14 15"));

    registry.singleNumber.configure(1, 5, "");
    EXPECT_TRUE(registry.singleNumber.验证预测(draw({"01", "02", "03", "04", "07"}), "07"));
    EXPECT_FALSE(registry.singleNumber.验证预测(draw({"01", "02", "03", "04", "05", "07"}), "07"));
    EXPECT_FALSE(registry.singleNumber.验证预测(draw({"01"}), "xx"));
}

TEST_F(StrategyTest, GroupForecasts) {
    auto& groups = registry.topPositionsGroup;
    const std::array cases{
        std::tuple{"3*2", 1, "258,110"},    std::tuple{"3*2", 0, "8910,68"},
        std::tuple{"3*2", 12345, "569,68"}, std::tuple{"5*5*5", 1, "125810,23569,23678"},
        std::tuple{"1*1*1", 0, "9,10,9"},   std::tuple{"10", 3, "12345678910"},
        std::tuple{"5*x", 1, "125810,"},  // a size that is no number makes an empty group
    };
    for (const auto& [sizes, seed, forecast] : cases) {
        groups.configure(1, sizes, "");
        EXPECT_EQ(groups.取下期预测(seed), forecast) << sizes << " " << seed;
    }
    groups.configure(1, "5*5*5", "");
    EXPECT_EQ(groups.groupSizes(), (std::vector<int>{5, 5, 5}));
    EXPECT_EQ(groups.displayStyle(), 2);
    EXPECT_EQ(groups.name(), "");
}

TEST_F(StrategyTest, GroupHitTests) {
    auto& groups = registry.topPositionsGroup;
    groups.configure(1, "1*1*1", "");
    EXPECT_TRUE(groups.验证预测(draw({"09", "10", "09"}), "9,10,9"));
    EXPECT_FALSE(groups.验证预测(draw({"09", "01", "09"}), "9,10,9"));
    groups.configure(1, "3*2", "");
    EXPECT_TRUE(groups.验证预测(draw({"05", "10"}), "258,110"));
    EXPECT_TRUE(groups.验证预测(draw({"05", "01"}), "258,110"));
    EXPECT_FALSE(groups.验证预测(draw({"04", "10"}), "258,110"));
    EXPECT_FALSE(groups.验证预测(draw({"05"}), "258"));  // a missing group never hits
}

TEST_F(StrategyTest, ForecastsRepeatForTheSameSeedWhateverWasDrawnBetween) {
    registry.topPositionsGroup.configure(1, "5*5*5", "");
    const std::string first = registry.topPositionsGroup.取下期预测(-42);
    random.seed(7);
    random.next();
    EXPECT_EQ(registry.topPositionsGroup.取下期预测(-42), first);
}

TEST_F(StrategyTest, ClonesShareNothingWithTheirPrototype) {
    registry.topPositionsGroup.configure(1, "3*2", "甲");
    const auto clone = registry.topPositionsGroup.clone();
    registry.topPositionsGroup.configure(1, "1", "乙");
    EXPECT_EQ(clone->name(), "甲");
    EXPECT_EQ(clone->取下期预测(1), "258,110");
    EXPECT_EQ(clone->displayStyle(), 2);
}

TEST_F(StrategyTest, TheBlankStrategyComplainsAndForecastsNothing) {
    EXPECT_EQ(registry.blank.取下期预测(1), "");
    EXPECT_FALSE(registry.blank.验证预测(draw({}), "单"));
    EXPECT_EQ(messages.messages,
              (std::vector<std::string>{"错误！接口类函数 取下期预测（） 被直接调用",
                                        "错误！接口类函数 验证预测 被直接调用"}));
}

}  // namespace
}  // namespace pk10
