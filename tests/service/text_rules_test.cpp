#include "service/text_rules.h"

#include <gtest/gtest.h>

#include <array>

namespace pk10 {
namespace {

using Pieces = std::vector<std::string>;

TEST(SplitText, KeepsInnerEmptyPiecesAndDropsATrailingOne) {
    const std::array cases{
        std::tuple{"", ",", Pieces{}},
        std::tuple{"a", ",", Pieces{"a"}},
        std::tuple{"a,,b", ",", Pieces{"a", "", "b"}},
        std::tuple{"a,b,", ",", Pieces{"a", "b"}},
        std::tuple{",", ",", Pieces{""}},
        std::tuple{"a| |b| |", "| |", Pieces{"a", "b"}},
        std::tuple{"x\r\n\r\ny\r\n", "\r\n", Pieces{"x", "", "y"}},
    };
    for (const auto& [text, separator, expected] : cases) {
        EXPECT_EQ(splitText(text, separator), expected) << text;
    }
}

TEST(TextToInt, ReadsTheLeadingNumberLikeTheProgramEverywhere) {
    const std::array cases{
        std::pair{"", 0},
        std::pair{"abc", 0},
        std::pair{"12ab", 12},
        std::pair{"05", 5},
        std::pair{"  -7", -7},
        std::pair{"+8", 8},
        std::pair{"- 8", 0},
        std::pair{"１２３", 123},     // full-width digits
        std::pair{"\u3000－４", -4},  // ideographic space, full-width minus
        std::pair{"2147483647", 2147483647},
        std::pair{"99999999999", 2147483647},
        std::pair{"-99999999999", -2147483647 - 1},
        std::pair{"冠军", 0},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(textToInt(text), expected) << text;
    }
}

TEST(FoldFullWidth, TurnsFullWidthFormsIntoAscii) {
    EXPECT_EQ(foldFullWidth("１．５ｂＡ～"), "1.5bA~");
    EXPECT_EQ(foldFullWidth("冠军"), "冠军");
}

TEST(TwoDigits, PadsOneToNine) {
    EXPECT_EQ(twoDigits(1), "01");
    EXPECT_EQ(twoDigits(10), "10");
}

}  // namespace
}  // namespace pk10
