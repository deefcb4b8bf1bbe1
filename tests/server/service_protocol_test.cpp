#include "server/service_protocol.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>

#include "service/codec.h"
#include "service/crypto.h"
#include "service/json_value.h"
#include "service/protocol_keys.h"
#include "service/service_client.h"
#include "service/service_request.h"
#include "tests/support/fake_time.h"
#include "tests/support/temporary_folder.h"

namespace pk10 {
namespace {

class ServiceProtocolTest : public ::testing::Test {
protected:
    void SetUp() override {
        store = DrawStore::open((folder / "draws.sqlite").string(), error);
        ASSERT_TRUE(store) << error;
        ProtocolSettings settings;
        settings.publicHost = "10.0.0.5";
        protocol = std::make_unique<ServiceProtocol>(settings, sealer, *store, clock);
    }
    // The call-key exchange as the client does it: the key and the cookie token.
    std::pair<std::string, std::string> callKey() {
        const ProtocolReply reply = protocol->handle("DATA=GETRAND?1500000000", "");
        JsonReply json;
        EXPECT_TRUE(json.parse(reply.body));
        const std::string token = std::string(cookieValue(reply.setCookie, "PK10SID"));
        return {rc4(protocolKey(), hexToBytes(json.memberText("data"))), token};
    }

    ProtocolReply call(std::string_view json) {
        const auto [key, token] = callKey();
        return protocol->handle("DATA=" + ServiceRequest::encryptBody(urlEscape(json), key), token);
    }

    testing::TemporaryFolder temporary;
    std::filesystem::path folder = temporary.path;
    std::string error;
    testing::FakeClock clock;
    CallKeySealer sealer{"secret", clock};
    std::unique_ptr<DrawStore> store;
    std::unique_ptr<ServiceProtocol> protocol;
};

// Replies are written by hand: byte for byte what the JSON writer makes of the same members.
TEST(ServiceEnvelope, IsWhatTheJsonWriterWrites) {
    constexpr std::array<std::array<std::string_view, 3>, 5> kCases{{
        {"0", "", "9F3A"},
        {"1005", "\u8c03\u7528\u5bc6\u94a5\u5df2\u7528\u8fc7", ""},
        {"\"\\/", "tab\there\r\nend\b\f", std::string_view("nul\0\x01\x1f\x7f", 9)},
        {"bad", "\xff\xc3(\xe2\x82", "\xed\xa0\x80 \xf4\x90\x80\x80"},
        {"pk10", "| |", R"({"data":"pk10|+|1|+|2"})"},
    }};
    for (const auto& [errcode, msg, data] : kCases) {
        JsonValue expected;
        expected.reset();
        expected.setMember("errcode", errcode);
        expected.setMember("msg", msg);
        expected.setMember("data", data);
        EXPECT_EQ(ServiceProtocol::envelope(errcode, msg, data), expected.toText()) << msg;
    }
}

TEST_F(ServiceProtocolTest, CallKeyReplyCarriesTheEncryptedKeyAndACookie) {
    const ProtocolReply reply = protocol->handle("DATA=GETRAND?1500000000", "");
    EXPECT_TRUE(reply.body.starts_with(R"({"errcode":0,"msg":"","data":")")) << reply.body;
    EXPECT_TRUE(reply.setCookie.starts_with("PK10SID="));
    EXPECT_TRUE(reply.setCookie.ends_with("; Path=/; HttpOnly"));
    const auto [key, token] = callKey();
    EXPECT_EQ(key.size(), 16U);
    EXPECT_EQ(sealer.open(token).callKey, key);
}

TEST_F(ServiceProtocolTest, InitNamesThePublicAddresses) {
    const ProtocolReply reply =
        call(R"({"rand":"4711","funname":"init","appid":"1112","param":[]})");
    JsonReply envelope;
    ASSERT_TRUE(envelope.parse(reply.body)) << reply.body;
    EXPECT_EQ(envelope.errcode(), "0");
    JsonValue payload;
    ASSERT_TRUE(payload.parse(ServiceRequest::decryptData(envelope.memberText("data"), 4711)));
    EXPECT_EQ(payload.toText(),
              R"({"drawurl":"http://10.0.0.5:19200/draw.php",)"
              R"("newphase":"http://10.0.0.5:19200/newphase.php",)"
              R"("advert1":"http://10.0.0.5:19200/advert.html","advert2":"","version":"1.41",)"
              R"("proupurl":"http://10.0.0.5:19200/download/pk10-update.exe","seo":""})");
}

TEST_F(ServiceProtocolTest, SelectDrawReplyFitsTheClientsCut) {
    ASSERT_TRUE(store->insert({{7, "2018-06-01 10:00:00", "01,02,03,04,05,06,07,08,09,10"},
                               {8, "2018-06-01 10:05:00", "10,09,08,07,06,05,04,03,02,01"}},
                              error));
    const ProtocolReply reply =
        call(R"({"rand":"1","funname":"select_draw","appid":"1112","param":["","2"]})");
    const std::optional<std::string> payload = ServiceClient::cutDrawPayload(reply.body);
    ASSERT_TRUE(payload) << reply.body;
    EXPECT_EQ(*payload,
              "pk10|+|8|+|2018-06-01 10:05:00|+|10,09,08,07,06,05,04,03,02,01|+|19\r\n"
              "pk10|+|7|+|2018-06-01 10:00:00|+|01,02,03,04,05,06,07,08,09,10|+|3");
}

TEST_F(ServiceProtocolTest, EveryFailureIsAnEnvelopeWithItsOwnCode) {
    const std::string longBody = "DATA=" + std::string(kMaxBodyBytes, 'A');
    struct Case {
        std::string body;
        bool withKey;
        const char* errcode;
    };
    const std::vector<Case> cases = {
        {"hello", false, "1001"},  {"DATA=GETRAND?now", false, "1001"},
        {"DATA=0G", true, "1002"}, {"DATA=0A0B", false, "1004"},
        {longBody, true, "1010"},
    };
    for (const auto& [body, withKey, errcode] : cases) {
        const std::string token = withKey ? callKey().second : std::string();
        const ProtocolReply reply = protocol->handle(body, token);
        JsonReply envelope;
        ASSERT_TRUE(envelope.parse(reply.body)) << body.substr(0, 40);
        EXPECT_EQ(envelope.errcode(), errcode) << body.substr(0, 40);
        EXPECT_FALSE(envelope.msg().empty());
        EXPECT_EQ(envelope.memberText("data"), "");
    }

    const std::array functionCases = {
        std::pair{R"({"rand":"1","funname":"draw","appid":"1112","param":[]})", "1007"},
        std::pair{R"({"rand":"1","funname":"init","appid":"1113","param":[]})", "1008"},
        std::pair{R"({"rand":"1","funname":"select_draw","appid":"1112","param":["","0"]})",
                  "1009"},
        std::pair{R"({"rand":"1","funname":"select_draw","appid":"1112","param":["","501"]})",
                  "1009"},
        std::pair{R"({"rand":"1","funname":"select_draw","appid":"1112","param":[""]})", "1009"},
        std::pair{R"({"rand":"1","funname":"newestdraw","appid":"1112","param":[]})", "1011"},
    };
    for (const auto& [json, errcode] : functionCases) {
        JsonReply envelope;
        ASSERT_TRUE(envelope.parse(call(json).body));
        EXPECT_EQ(envelope.errcode(), errcode) << json;
    }
}

TEST_F(ServiceProtocolTest, AKeyServesOneRequestAndExpires) {
    const std::string json = R"({"rand":"1","funname":"init","appid":"1112","param":[]})";
    const auto [key, token] = callKey();
    const std::string body = "DATA=" + ServiceRequest::encryptBody(urlEscape(json), key);
    JsonReply envelope;
    ASSERT_TRUE(envelope.parse(protocol->handle(body, token).body));
    EXPECT_EQ(envelope.errcode(), "0");
    ASSERT_TRUE(envelope.parse(protocol->handle(body, token).body));
    EXPECT_EQ(envelope.errcode(), "1006");

    const auto [lateKey, lateToken] = callKey();
    clock.now += CallKeySealer::kLifetimeSeconds;
    ASSERT_TRUE(envelope.parse(
        protocol->handle("DATA=" + ServiceRequest::encryptBody(urlEscape(json), lateKey), lateToken)
            .body));
    EXPECT_EQ(envelope.errcode(), "1005");
}

}  // namespace
}  // namespace pk10
