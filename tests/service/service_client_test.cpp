#include "service/service_client.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "service/curl_transport.h"
#include "support/counting_pump.h"
#include "support/fake_time.h"
#include "support/loopback_draw_service.h"

namespace pk10 {
namespace {

using testing::LoopbackDrawService;
using Mode = LoopbackDrawService::Mode;

constexpr std::int32_t kAppId = 1112;
constexpr std::string_view kNewestLine =
    "a| |20170426001| |b| |3,5,10,1,2,4,6,8,7,9| |7| |c6| |c7| |2017-04-26 09:07:00";

std::string drawTableReply(std::string_view tableText) {
    JsonValue inner;
    inner.reset();
    inner.setMember("data", tableText);
    return LoopbackDrawService::envelope("0", "", inner.toText());
}

class ServiceClientTest : public ::testing::Test {
protected:
    ServiceClientTest() {
        service.handler = [this](const LoopbackDrawService::Call& call) -> std::string {
            if (call.funname == "init") {
                return service.initReply(call, "1.42", "http://127.0.0.1/ad");
            }
            if (call.funname == "newestdraw") {
                JsonValue payload;
                payload.reset();
                payload.setMember("data", kNewestLine);
                return LoopbackDrawService::okEncrypted(call, payload.toText());
            }
            if (call.funname == "select_draw") {
                return drawTableReply(selectTable);
            }
            return LoopbackDrawService::envelope("404", "no such function", "");
        };
    }

    bool connect() { return client.init(service.drawUrl(), kAppId); }

    LoopbackDrawService service;
    std::string selectTable =
        "a|+|20170426001|+|b|+|3,5,10,1,2,4,6,8,7,9|+|7\r\n"
        "a|+|20170426000|+|b|+|1,2,3,4,5,6,7,8,9,10|+|9\r\n";
    testing::FakeClock clock;
    testing::FakeUptime uptime;
    testing::CountingPump pump;
    CurlTransport transport{pump};
    ServiceClient client{transport, clock, uptime, pump};
};

TEST_F(ServiceClientTest, AFullSessionAgainstTheLoopbackService) {
    ASSERT_TRUE(connect()) << client.lastError();
    AppSettings settings;
    client.copySettings(settings);
    EXPECT_EQ(settings.drawurl, service.drawUrl());
    EXPECT_EQ(settings.version, "1.42");
    EXPECT_EQ(settings.advert2, "");

    std::vector<std::string> fields;
    ASSERT_TRUE(client.newestDraw(fields));
    ASSERT_EQ(fields.size(), 8U);
    EXPECT_EQ(fields[1], "20170426001");
    EXPECT_EQ(fields[7], "2017-04-26 09:07:00");

    DrawTable table;
    ASSERT_TRUE(client.selectDraw(50, table)) << client.lastError();
    EXPECT_EQ(table.rows, 2U);
    EXPECT_EQ(table.columns, 5U);
    EXPECT_EQ(table.at(1, 1), "20170426000");
    EXPECT_EQ(table.at(0, 3), "3,5,10,1,2,4,6,8,7,9");

    EXPECT_EQ(client.latestPeriod(), "20170426001");
    EXPECT_EQ(client.lastError(), "");

    const auto calls = service.calls();
    ASSERT_EQ(calls.size(), 3U);
    EXPECT_EQ(calls[0].appid, "1112");
    EXPECT_TRUE(calls[0].params.empty());
    // An empty token: newestdraw sends no parameter, select_draw sends it anyway.
    EXPECT_TRUE(calls[1].params.empty());
    EXPECT_EQ(calls[2].params, (std::vector<std::string>{"", "50"}));
    EXPECT_EQ(service.keyRequests(), 3);
    EXPECT_EQ(service.cookieMismatches(), 0);
}

TEST_F(ServiceClientTest, InitSucceedsOnItsTenthAttempt) {
    service.functionMode = Mode::ServiceError;
    service.failFirstCalls = 9;
    EXPECT_TRUE(connect()) << client.lastError();
    EXPECT_EQ(service.calls().size(), 10U);
    EXPECT_GE(pump.count, 9);
}

TEST_F(ServiceClientTest, InitFailuresReportTheTenthReply) {
    const std::vector<std::tuple<Mode, Mode, std::string_view>> rows{
        {Mode::Normal, Mode::ServiceError, "初始化连接服务器失败！：应用不存在 错误代码：1001"},
        {Mode::Normal, Mode::NotJson, "初始化连接服务器失败！：服务器访问错误! 错误代码：9999"},
        {Mode::Normal, Mode::EmptyBody, "初始化连接服务器失败！：服务器访问失败! 错误代码：9999"},
        {Mode::ServiceError, Mode::Normal, "初始化连接服务器失败！：应用不存在 错误代码：1001"},
        {Mode::NotJson, Mode::Normal, "初始化连接服务器失败！：服务器访问错误! 错误代码：9999"},
        {Mode::EmptyBody, Mode::Normal, "初始化连接服务器失败！：服务器访问失败! 错误代码：9999"},
    };
    for (const auto& [keyMode, functionMode, message] : rows) {
        service.callKeyMode = keyMode;
        service.functionMode = functionMode;
        const int before = service.keyRequests();
        EXPECT_FALSE(connect()) << message;
        EXPECT_EQ(client.lastError(), message);
        EXPECT_EQ(service.keyRequests() - before, 10);
    }
}

TEST_F(ServiceClientTest, InitWithoutAServiceFailsAsNoResponse) {
    EXPECT_FALSE(client.init("http://127.0.0.1:1/appinit.php", kAppId));
    EXPECT_EQ(client.lastError(), "初始化连接服务器失败！：服务器访问失败! 错误代码：9999");
    EXPECT_EQ(pump.count >= 10, true);
}

TEST_F(ServiceClientTest, InitWithEmptyDataLeavesTheSettingsEmpty) {
    service.handler = [](const LoopbackDrawService::Call&) {
        return LoopbackDrawService::envelope("0", "", "");
    };
    ASSERT_TRUE(connect());
    AppSettings settings{"x", "x", "x", "x", "x", "x", "x"};
    client.copySettings(settings);
    EXPECT_EQ(settings, AppSettings{});
}

TEST_F(ServiceClientTest, SelectDrawFailuresGiveTheirMessages) {
    ASSERT_TRUE(connect());
    const DrawTable kept{1, 5, {"k", "1", "k", "1,2,3,4,5,6,7,8,9,10", "3"}};
    const std::vector<std::tuple<std::string_view, Mode, std::string, std::string_view>> rows{
        {"service error", Mode::ServiceError, "", "获取最新开奖数据失败!应用不存在 错误代码：1001"},
        {"not JSON", Mode::NotJson, "", "获取最新开奖数据失败!服务器访问错误! 错误代码：9999"},
        {"no response", Mode::EmptyBody, "", "获取最新开奖数据失败!服务器访问失败! 错误代码：9999"},
        {"no markers", Mode::Normal, LoopbackDrawService::envelope("0", "", "a|+|b"),
         "获取最新开奖数据失败!服务器返回的数据格式错误 错误代码：9999"},
        {"four columns", Mode::Normal, drawTableReply("a|+|1|+|b|+|c\r\n"),
         "获取最新开奖数据失败!服务器返回的数据格式错误 错误代码：9999"},
    };
    for (const auto& [situation, mode, answer, message] : rows) {
        service.functionMode = mode;
        service.handler = [answer = answer](const LoopbackDrawService::Call&) { return answer; };
        DrawTable table = kept;
        EXPECT_FALSE(client.selectDraw(50, table)) << situation;
        EXPECT_EQ(client.lastError(), message) << situation;
        EXPECT_EQ(table.cells, kept.cells) << situation;
    }
}

TEST_F(ServiceClientTest, SelectDrawWithAnEmptyPayloadKeepsTheTable) {
    ASSERT_TRUE(connect());
    selectTable = "";
    DrawTable table{1, 5, {"k", "1", "k", "n", "3"}};
    EXPECT_TRUE(client.selectDraw(50, table));
    EXPECT_EQ(table.rows, 1U);
    EXPECT_EQ(client.lastError(), "");
}

TEST_F(ServiceClientTest, NewestDrawFailureRecordsNothing) {
    ASSERT_TRUE(connect());
    service.functionMode = Mode::ServiceError;
    std::vector<std::string> fields{"kept"};
    EXPECT_FALSE(client.newestDraw(fields));
    EXPECT_EQ(fields, std::vector<std::string>{"kept"});
    EXPECT_EQ(client.lastError(), "");
}

TEST_F(ServiceClientTest, LatestPeriodTakesTheBodyAsItIs) {
    ASSERT_TRUE(connect());
    service.newphaseBody = " ";
    EXPECT_EQ(client.latestPeriod(), " ");
    EXPECT_EQ(client.lastError(), "");
    service.newphaseBody = "";
    EXPECT_EQ(client.latestPeriod(), "");
    EXPECT_EQ(client.lastError(), "最新期号获取失败!");
}

TEST_F(ServiceClientTest, LatestPeriodBeforeInitFails) {
    EXPECT_EQ(client.latestPeriod(), "");
    EXPECT_EQ(client.lastError(), "最新期号获取失败!");
}

TEST_F(ServiceClientTest, EventsRunWhileARequestIsInFlight) {
    ASSERT_TRUE(connect());
    const auto answer = service.handler;
    service.handler = [answer](const LoopbackDrawService::Call& call) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        return answer(call);
    };
    pump.count = 0;
    std::vector<std::string> fields;
    EXPECT_TRUE(client.newestDraw(fields));
    EXPECT_GE(pump.count, 3);
}

TEST(ServiceClientCut, PayloadCutTakesTheInnermostValue) {
    const std::vector<std::pair<std::string, std::optional<std::string>>> cases{
        {R"({"errcode":"0","data":"{\"data\":\"a|+|1\\r\\nb|+|2\"}"})", "a|+|1\r\nb|+|2"},
        {R"({"data":"{\"data\":\"\"}"})", ""},
        {R"({"data":"{\"data\":\"x\\\"y\"}"})", "x\\\\\\\"y"},
        {R"({"data":"plain"})", std::nullopt},
        {R"(data\"}")", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [reply, payload] : cases) {
        EXPECT_EQ(ServiceClient::cutDrawPayload(reply), payload) << reply;
    }
}

}  // namespace
}  // namespace pk10
