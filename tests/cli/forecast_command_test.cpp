#include "cli/forecast_command.h"

#include <gtest/gtest.h>

#include <array>
#include <sstream>

namespace pk10 {
namespace {

TEST(ForecastCommand, PrintsTheRawSeedForecastOfAPlanType) {
    const std::array cases{
        std::tuple{"冠军单双", 0, "单\n"},
        std::tuple{"冠军单双", -1, "双\n"},
        std::tuple{"前3名5*5*5注", 1, "125810,23569,23678\n"},
        std::tuple{"前5独胆", 12345, "05\n"},
        std::tuple{"冠军3胆", 12345, "05 06 09\n"},
    };
    for (const auto& [type, seed, printed] : cases) {
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(runForecast({type, seed, 3}, out, err), 0) << type;
        EXPECT_EQ(out.str(), printed) << type;
        EXPECT_EQ(err.str(), "");
    }
}

TEST(ForecastCommand, RefusedTypesExitWithTwo) {
    for (const char* type : {"0号单双", "冠军11胆", "nonsense"}) {
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(runForecast({type, 1, 3}, out, err), 2) << type;
        EXPECT_EQ(out.str(), "");
        EXPECT_NE(err.str().find(type), std::string::npos);
    }
}

}  // namespace
}  // namespace pk10
