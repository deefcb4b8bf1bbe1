#include "updater/carried_updater.h"

#include <gtest/gtest.h>

#include "updater/update_fixture.h"

namespace pk10 {
namespace {

TEST(CarriedUpdater, IsTheUpdaterProgramByteForByte) {
    const std::string built = testing::readFile(PK10_STRIPPED_UPDATER);
    ASSERT_FALSE(built.empty());
    EXPECT_EQ(carriedUpdater(), built);
    EXPECT_TRUE(
        carriedUpdater().starts_with("\x7f"
                                     "ELF"));
}

}  // namespace
}  // namespace pk10
