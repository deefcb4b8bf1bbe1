#include "server/draw_texts.h"

#include <gtest/gtest.h>

#include <array>

#include "service/draw_record.h"

namespace pk10 {
namespace {

TEST(CivilTime, FormatsAndParsesTheSameInstant) {
    constexpr std::array cases = {
        std::pair{std::int64_t{0}, "1970-01-01 00:00:00"},
        std::pair{std::int64_t{951782400}, "2000-02-29 00:00:00"},
        std::pair{std::int64_t{1493197620}, "2017-04-26 09:07:00"},
        std::pair{std::int64_t{1546300799}, "2018-12-31 23:59:59"},
    };
    for (const auto& [seconds, text] : cases) {
        EXPECT_EQ(formatCivilTime(seconds), text);
        EXPECT_EQ(parseCivilTime(text), seconds) << text;
    }
}

TEST(CivilTime, RejectsOtherFormsAndImpossibleDates) {
    constexpr std::array texts = {"",
                                  "2018-02-30 10:00:00",
                                  "2018-13-01 10:00:00",
                                  "2018-01-01 24:00:00",
                                  "2018-01-01T10:00:00",
                                  "2018-1-01 10:00:00",
                                  "2018-01-01 10:00:0x"};
    for (const char* text : texts) {
        EXPECT_FALSE(parseCivilTime(text)) << text;
    }
}

TEST(NewestDrawLine, ReadsBackAsTheClientReadsIt) {
    const StoredDraw draw{711881, "2018-06-01 10:05:00", "03,05,10,01,02,04,06,08,07,09"};
    const std::string line = newestDrawLine(draw, "2018-06-01 10:06:13", 300);

    const std::optional<LatestDraw> latest = parseNewestDrawLine(line);
    ASSERT_TRUE(latest) << line;
    EXPECT_EQ(latest->draw.column1, "pk10");
    EXPECT_EQ(latest->draw.period, "711881");
    EXPECT_EQ(latest->draw.column3, "2018-06-01 10:05:00");
    EXPECT_EQ(latest->draw.numbers, draw.numbers);
    EXPECT_EQ(latest->draw.drawValue, 8);
    EXPECT_EQ(latest->next.column6, "711882");
    EXPECT_EQ(latest->next.column7, "2018-06-01 10:06:13");
    EXPECT_EQ(latest->next.nextDrawTime, "2018-06-01 10:10:00");
}

TEST(DrawTableText, GivesTheRecordsNewestFirst) {
    const std::vector<StoredDraw> draws = {
        {102, "2018-06-01 10:10:00", "10,09,08,07,06,05,04,03,02,01"},
        {101, "2018-06-01 10:05:00", "03,05,10,01,02,04,06,08,07,09"},
        {100, "2018-06-01 10:00:00", "01,02,03,04,05,06,07,08,09,10"},
    };
    const std::string text = drawTableText(draws, 2);
    EXPECT_EQ(text,
              "pk10|+|102|+|2018-06-01 10:10:00|+|10,09,08,07,06,05,04,03,02,01|+|19\r\n"
              "pk10|+|101|+|2018-06-01 10:05:00|+|03,05,10,01,02,04,06,08,07,09|+|8");
    const auto table = buildDrawTable(text);
    ASSERT_TRUE(table);
    const auto records = drawRecordsFromTable(*table);
    ASSERT_TRUE(records);
    ASSERT_EQ(records->size(), 2U);
    EXPECT_EQ((*records)[0].period, "102");
    EXPECT_EQ((*records)[1].drawValue, 8);

    EXPECT_EQ(drawTableText(draws, 10), drawTableText(draws, 3));
    EXPECT_EQ(drawTableText({}, 50), "");
}

}  // namespace
}  // namespace pk10
