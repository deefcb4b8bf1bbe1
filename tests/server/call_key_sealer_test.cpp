#include "server/call_key_sealer.h"

#include <gtest/gtest.h>

#include "tests/support/fake_time.h"

namespace pk10 {
namespace {

using Status = CallKeySealer::OpenStatus;

class CallKeySealerTest : public ::testing::Test {
protected:
    testing::FakeClock clock;
    CallKeySealer sealer{"a secret of the deployment", clock};
};

TEST_F(CallKeySealerTest, IssuesFreshKeysThatOpenOnce) {
    const CallKeySealer::Issued first = sealer.issue();
    const CallKeySealer::Issued second = sealer.issue();
    EXPECT_NE(first.callKey, second.callKey);
    ASSERT_EQ(first.callKey.size(), 16U);
    EXPECT_EQ(first.callKey.find_first_not_of("0123456789abcdefghijklmnopqrstuvwxyz"),
              std::string::npos);

    const CallKeySealer::Opened opened = sealer.open(first.token);
    EXPECT_EQ(opened.status, Status::Ok);
    EXPECT_EQ(opened.callKey, first.callKey);
    EXPECT_EQ(sealer.open(first.token).status, Status::Reused);
    EXPECT_EQ(sealer.open(second.token).status, Status::Ok);
}

TEST_F(CallKeySealerTest, KeysExpireAfterAMinute) {
    const std::string token = sealer.issue().token;
    const std::string late = sealer.issue().token;
    clock.now += 59;
    EXPECT_EQ(sealer.open(token).status, Status::Ok);
    clock.now += 1;
    EXPECT_EQ(sealer.open(late).status, Status::Expired);
}

TEST_F(CallKeySealerTest, ForgetsUsedTokensOnceTheyExpire) {
    for (int i = 0; i < 10; ++i) {
        sealer.open(sealer.issue().token);
    }
    EXPECT_EQ(sealer.usedCount(), 10U);
    clock.now += 61;
    sealer.open(sealer.issue().token);
    EXPECT_EQ(sealer.usedCount(), 1U);
}

TEST_F(CallKeySealerTest, RefusesForgedAndForeignTokens) {
    std::string token = sealer.issue().token;
    EXPECT_EQ(sealer.open("").status, Status::Missing);
    EXPECT_EQ(sealer.open("not a token").status, Status::Invalid);
    EXPECT_EQ(sealer.open(token.substr(2)).status, Status::Invalid);

    std::string flipped = token;
    flipped[40] = flipped[40] == '0' ? '1' : '0';
    EXPECT_EQ(sealer.open(flipped).status, Status::Invalid);

    CallKeySealer other("another secret", clock);
    EXPECT_EQ(other.open(token).status, Status::Invalid);
    // A refused forgery does not spend the real token.
    EXPECT_EQ(sealer.open(token).status, Status::Ok);
}

}  // namespace
}  // namespace pk10
