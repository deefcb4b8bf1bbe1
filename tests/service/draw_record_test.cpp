#include "service/draw_record.h"

#include <gtest/gtest.h>

namespace pk10 {
namespace {

TEST(DrawTable, TwoLinesOfFiveFieldsGiveTwoRecordsNewestFirst) {
    const auto table = buildDrawTable(
        "a|+|101|+|b|+|3,5,10,1,2,4,6,8,7,9|+|7\r\nc|+|100|+|d|+|1,2,3,4,5,6,7,8,9,10|+|3\r\n");
    ASSERT_TRUE(table);
    EXPECT_EQ(table->rows, 2U);
    EXPECT_EQ(table->columns, 5U);
    const auto records = drawRecordsFromTable(*table);
    ASSERT_TRUE(records);
    ASSERT_EQ(records->size(), 2U);
    EXPECT_EQ((*records)[0], (DrawRecord{"a", "101", "b", "3,5,10,1,2,4,6,8,7,9", 7}));
    EXPECT_EQ((*records)[1].period, "100");
}

TEST(DrawTable, RecutsUnequalLinesIntoEqualRows) {
    // 5 + 6 fields over two lines: 11 / 2 = 5 columns, the last field is dropped.
    const auto table = buildDrawTable("1|+|2|+|3|+|4|+|5\r\n6|+|7|+|8|+|9|+|10|+|11");
    ASSERT_TRUE(table);
    EXPECT_EQ(table->columns, 5U);
    EXPECT_EQ(table->at(1, 0), "6");
    EXPECT_EQ(table->at(1, 4), "10");
    EXPECT_EQ(table->cells.size(), 10U);
}

TEST(DrawTable, AnEmptyLineCountsAsARow) {
    const auto table = buildDrawTable("1|+|2|+|3|+|4|+|5\r\n\r\n6|+|7|+|8|+|9|+|10\r\n");
    ASSERT_TRUE(table);
    EXPECT_EQ(table->rows, 3U);
    EXPECT_EQ(table->columns, 3U);  // 10 fields over 3 rows
    EXPECT_FALSE(drawRecordsFromTable(*table));
}

TEST(DrawTable, EmptyTextGivesNoTableAndNarrowTablesNoRecords) {
    EXPECT_FALSE(buildDrawTable(""));
    const auto narrow = buildDrawTable("a|+|b\r\n");
    ASSERT_TRUE(narrow);
    EXPECT_FALSE(drawRecordsFromTable(*narrow));
    const auto blank = buildDrawTable("\r\n");
    ASSERT_TRUE(blank);
    EXPECT_EQ(blank->columns, 0U);
    EXPECT_FALSE(drawRecordsFromTable(*blank));
}

TEST(DrawTable, NonNumericDrawValueReadsZero) {
    for (const char* value : {"", "abc"}) {
        const auto table = buildDrawTable(std::string("a|+|1|+|b|+|n|+|") + value + "|+|x");
        ASSERT_TRUE(table);
        EXPECT_EQ(drawRecordsFromTable(*table)->front().drawValue, 0) << value;
    }
}

TEST(NewestDrawLine, NeedsExactlyEightFields) {
    const auto latest = parseNewestDrawLine(
        "pk10| |711881| |2018-01-01 10:00:00| |01,02,03,04,05,06,07,08,09,10| |3| |711882| |"
        "2018-01-01 10:01:00| |2018-01-01 10:05:00");
    ASSERT_TRUE(latest);
    EXPECT_EQ(latest->draw.period, "711881");
    EXPECT_EQ(latest->draw.numbers, "01,02,03,04,05,06,07,08,09,10");
    EXPECT_EQ(latest->draw.drawValue, 3);
    EXPECT_EQ(latest->next.column6, "711882");
    EXPECT_EQ(latest->next.nextDrawTime, "2018-01-01 10:05:00");

    EXPECT_FALSE(parseNewestDrawLine("1| |2| |3| |4| |5| |6| |7"));
    EXPECT_FALSE(parseNewestDrawLine("1| |2| |3| |4| |5| |6| |7| |8| |9"));
    EXPECT_FALSE(parseNewestDrawLine("1| |2| |3| |4| |5| |6| |7| |"));
}

}  // namespace
}  // namespace pk10
