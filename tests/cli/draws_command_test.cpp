#include "cli/draws_command.h"

#include <gtest/gtest.h>

#include <sstream>

#include "service/curl_transport.h"
#include "support/fake_time.h"
#include "support/loopback_draw_service.h"

namespace pk10 {
namespace {

using testing::LoopbackDrawService;

class DrawsCommandTest : public ::testing::Test {
protected:
    DrawsCommandTest() {
        service.handler = [this](const LoopbackDrawService::Call& call) -> std::string {
            JsonValue payload;
            payload.reset();
            if (call.funname == "init") {
                payload.setMember("drawurl", service.drawUrl());
                return LoopbackDrawService::okEncrypted(call, payload.toText());
            }
            if (call.funname == "newestdraw") {
                payload.setMember("data", newestLine);
                return LoopbackDrawService::okEncrypted(call, payload.toText());
            }
            lastCount = call.params.at(1);
            payload.setMember("data", table);
            return LoopbackDrawService::envelope("0", "", payload.toText());
        };
    }

    int run(const DrawsOptions& options) {
        return runDraws(options, transport, clock, uptime, pump, out, err);
    }

    LoopbackDrawService service;
    std::string newestLine =
        "a| |20170426002| |b| |3,5,10,1,2,4,6,8,7,9| |7| |c6| |c7| |2017-04-26 09:12:00";
    std::string table =
        "a|+|20170426002|+|b|+|3,5,10,1,2,4,6,8,7,9|+|7\r\n"
        "a|+|20170426001|+|b|+|1,2,3,4,5,6,7,8,9,10|+|9\r\n";
    std::string lastCount;
    testing::FakeClock clock;
    testing::FakeUptime uptime;
    NoEventPump pump;
    CurlTransport transport{pump};
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(DrawsCommandTest, PrintsTheNewestDrawAndTheRecentOnes) {
    EXPECT_EQ(run({service.drawUrl(), "", 2}), 0) << err.str();
    EXPECT_EQ(out.str(),
              "newest 20170426002 3,5,10,1,2,4,6,8,7,9 2017-04-26 09:12:00\n"
              "20170426002 3,5,10,1,2,4,6,8,7,9\n"
              "20170426001 1,2,3,4,5,6,7,8,9,10\n");
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(lastCount, "2");
}

TEST_F(DrawsCommandTest, ANewestLineOfOtherThanEightFieldsPrintsADash) {
    newestLine = "a| |b";
    EXPECT_EQ(run({"http://127.0.0.1:1/appinit.php", service.drawUrl(), 50}), 0);
    EXPECT_EQ(out.str().substr(0, 9), "newest -\n");
    EXPECT_EQ(lastCount, "50");
}

TEST_F(DrawsCommandTest, FailuresPrintTheClientsText) {
    EXPECT_EQ(run({"http://127.0.0.1:1/appinit.php", "", 50}), 1);
    EXPECT_EQ(err.str(), "初始化连接服务器失败！：服务器访问失败! 错误代码：9999\n");
    EXPECT_EQ(out.str(), "");

    err.str("");
    table = "a|+|1\r\n";
    EXPECT_EQ(run({service.drawUrl(), "", 50}), 1);
    EXPECT_EQ(err.str(), "获取最新开奖数据失败!服务器返回的数据格式错误 错误代码：9999\n");
}

}  // namespace
}  // namespace pk10
