#include "service/service_request.h"

#include <gtest/gtest.h>

#include <array>
#include <string_view>

#include "service/codec.h"
#include "service/crypto.h"
#include "service/protocol_keys.h"
#include "support/fake_time.h"
#include "support/loopback_draw_service.h"
#include "support/scripted_transport.h"

namespace pk10 {
namespace {

using namespace std::string_view_literals;
using testing::LoopbackDrawService;

constexpr std::string_view kCallKey = "call-key-1";

std::string keyReply(std::string_view key = kCallKey) {
    return LoopbackDrawService::envelope("0", "", bytesToHex(rc4(protocolKey(), key)));
}

// The plain JSON body of a function request, undoing the two cipher layers.
std::string decodeBody(std::string_view form, std::string_view callKey = kCallKey) {
    const std::string inner = rc4(callKey, hexToBytes(form.substr(5)));
    return rc4(protocolKey(), hexToBytes(inner));
}

class ServiceRequestTest : public ::testing::Test {
protected:
    ServiceRequestTest() { request.setEndpoint("http://127.0.0.1:1/draw", 1112); }

    testing::FakeClock clock;
    testing::FakeUptime uptime;
    testing::ScriptedTransport transport;
    ServiceRequest request{transport, clock, uptime};
    JsonReply reply;
};

TEST_F(ServiceRequestTest, UnixTimeCountsFromEightOClockLocal) {
    EXPECT_EQ(ServiceRequest::unixTimeText(8 * 3600), "0");
    EXPECT_EQ(ServiceRequest::unixTimeText(0), "-28800");
    clock.now = 1493168820;  // 2017-04-26 09:07:00 at UTC+8
    EXPECT_EQ(request.currentUnixTimeText(), "1493168820");
    clock.offset = 0;
    EXPECT_EQ(request.currentUnixTimeText(), "1493140020");
}

TEST_F(ServiceRequestTest, NonceIsTheLastFourDigitsOfUptimePlusTime) {
    constexpr std::array cases{
        std::tuple{1500000000LL, 1234U, 1234}, std::tuple{1500000000LL, 7U, 7},
        std::tuple{1499990000LL, 10007U, 7},
        std::tuple{1500000000LL, 4294967295U, 7295},  // 1500000000 + 4294967295 = 5794967295
    };
    for (const auto& [now, ms, nonce] : cases) {
        clock.now = now;
        uptime.now = ms;
        EXPECT_EQ(request.newNonce(), nonce);
    }
}

TEST_F(ServiceRequestTest, EncryptBodyLayersTheProtocolKeyUnderTheCallKey) {
    const std::string plain = urlEscape(R"({"rand":"12","funname":"init"})");
    const std::string sealed = ServiceRequest::encryptBody(plain, kCallKey);
    EXPECT_EQ(sealed.size(), plain.size() * 4);
    EXPECT_EQ(sealed.find_first_not_of("0123456789ABCDEF"), std::string::npos);
    EXPECT_EQ(decodeBody("DATA=" + sealed), plain);
}

TEST_F(ServiceRequestTest, DecryptDataUndoesTheServiceLayers) {
    const std::string payload = R"({"data":"冠军"})";
    for (const std::int32_t nonce : {0, 12, 9999}) {
        const std::string data = LoopbackDrawService::encryptData(payload, std::to_string(nonce));
        EXPECT_EQ(ServiceRequest::decryptData(data, nonce), payload);
        EXPECT_NE(ServiceRequest::decryptData(data, nonce + 1), payload);
    }
    // Garbage never crashes and comes back as valid UTF-8.
    EXPECT_EQ(repairUtf8(ServiceRequest::decryptData("zz\xFF", 1)),
              ServiceRequest::decryptData("zz\xFF", 1));
}

TEST_F(ServiceRequestTest, AFullCallSendsTheEnvelopeAndDecodesTheData) {
    clock.now = 1500000000;
    uptime.now = 1234;  // nonce (1500000000 + 1234) % 10000 = 1234
    transport.answer(keyReply());
    transport.answer(LoopbackDrawService::envelope(
        "0", "", LoopbackDrawService::encryptData(R"({"drawurl":"u"})", "1234")));

    EXPECT_TRUE(request.call(reply, "init", {"a b", "冠军"}, false));
    EXPECT_EQ(reply.memberText("drawurl"), "u");

    ASSERT_EQ(transport.sent.size(), 2U);
    EXPECT_EQ(transport.sent[0].body, "DATA=GETRAND?1500000000");
    EXPECT_EQ(transport.sent[1].url, "http://127.0.0.1:1/draw");
    EXPECT_EQ(transport.sent[1].headers, ServiceRequest::postHeaders());
    const std::string expected =
        urlEscape(R"({"rand":"1234","funname":"init","appid":"1112","param":["a b","冠军"]})");
    EXPECT_EQ(transport.sent[1].body.size(), 5 + expected.size() * 4);
    EXPECT_EQ(decodeBody(transport.sent[1].body), expected);
}

TEST_F(ServiceRequestTest, CallStopsItsParametersAtTheFirstEmptyOne) {
    transport.answer(keyReply());
    transport.answer(LoopbackDrawService::envelope("0", "", ""));
    EXPECT_TRUE(request.call(reply, "newestdraw", {"", "later"}, false));
    EXPECT_NE(decodeBody(transport.sent[1].body).find("%22param%22:%5B%5D"), std::string::npos);
}

TEST_F(ServiceRequestTest, ErrcodeMustReadExactlyZero) {
    constexpr std::array cases{
        std::pair{R"({"errcode":0,"msg":"","data":""})"sv, true},
        std::pair{R"({"errcode":"0","data":""})"sv, true},
        std::pair{R"({"errcode":"00","data":""})"sv, false},
        std::pair{R"({"errcode":" 0","data":""})"sv, false},
        std::pair{R"({"data":""})"sv, false},
    };
    for (const auto& [answer, ok] : cases) {
        transport.answer(keyReply());
        transport.answer(std::string(answer));
        EXPECT_EQ(request.call(reply, "init", {}, false), ok) << answer;
        // An empty data member leaves the envelope in the reply.
        EXPECT_EQ(reply.toText().empty(), false);
    }
}

TEST_F(ServiceRequestTest, PlainDataIsParsedAsItIs) {
    const std::string plainData = LoopbackDrawService::envelope("0", "", R"({"data":"1| |2"})");
    transport.answer(keyReply());
    transport.answer(plainData);
    EXPECT_TRUE(request.call(reply, "x", {}, true));
    EXPECT_EQ(reply.memberText("data"), "1| |2");

    transport.answer(keyReply());
    transport.answer(plainData);
    EXPECT_FALSE(request.call(reply, "x", {}, false));
    EXPECT_EQ(reply.errcode(), "9999");
    EXPECT_EQ(reply.msg(), "服务器访问错误!2");
}

TEST_F(ServiceRequestTest, CallRawHandsBackTheRepairedTextAndTheNonce) {
    uptime.now = 42;
    clock.now = 1500000000;
    transport.answer(keyReply());
    transport.answer("{\"errcode\":\"0\",\"data\":\"\xFF\"}");
    std::string text;
    std::int32_t nonce = -1;
    EXPECT_TRUE(request.callRaw(text, "select_draw", {"", "50"}, nonce, reply));
    EXPECT_EQ(text, "{\"errcode\":\"0\",\"data\":\"\uFFFD\"}");
    EXPECT_EQ(nonce, 42);
    EXPECT_NE(decodeBody(transport.sent[1].body).find("%22param%22:%5B%22%22,%2250%22%5D"),
              std::string::npos);
}

struct FailureRow {
    std::string_view situation;
    std::vector<std::optional<std::string>> answers;  // nullopt: no response
    std::string_view errcode;
    std::string_view msg;
};

TEST_F(ServiceRequestTest, EveryFailureEndsInTheReplyEnvelope) {
    const std::string serviceError = LoopbackDrawService::envelope("1001", "应用不存在", "");
    const std::string html = "<html>404</html>";
    const std::string undecodable = LoopbackDrawService::envelope("0", "", "ABCDEF");
    const std::vector<FailureRow> rows{
        {"call-key request gets no response", {std::nullopt}, "9999", "服务器访问失败!"},
        {"call-key response is empty", {""}, "9999", "服务器访问失败!"},
        {"call-key response is not JSON", {html}, "9999", "服务器访问错误!"},
        {"call-key response has an errcode", {serviceError}, "1001", "应用不存在"},
        {"call-key response succeeds without a key",
         {LoopbackDrawService::envelope("0", "", "")},
         "9999",
         "服务器访问失败!"},
        {"function request gets no response",
         {keyReply(), std::nullopt},
         "9999",
         "服务器访问失败!"},
        {"function response is not JSON", {keyReply(), html}, "9999", "服务器访问错误!"},
        {"function response has an errcode", {keyReply(), serviceError}, "1001", "应用不存在"},
        {"data does not parse after decoding",
         {keyReply(), undecodable},
         "9999",
         "服务器访问错误!2"},
    };
    for (const auto& [situation, answers, errcode, msg] : rows) {
        transport.sent.clear();
        for (const auto& answer : answers) {
            if (answer) {
                transport.answer(*answer);
            } else {
                transport.noResponse();
            }
        }
        EXPECT_FALSE(request.call(reply, "init", {}, false)) << situation;
        EXPECT_EQ(reply.errcode(), errcode) << situation;
        EXPECT_EQ(reply.msg(), msg) << situation;
        EXPECT_EQ(transport.sent.size(), answers.size()) << situation;
        EXPECT_TRUE(transport.script.empty()) << situation;
    }
}

}  // namespace
}  // namespace pk10
