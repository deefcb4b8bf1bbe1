#include "server/request_decoder.h"

#include <gtest/gtest.h>

#include <array>

#include "service/codec.h"
#include "service/service_request.h"

namespace pk10 {
namespace {

constexpr std::string_view kCallKey = "0123456789abcdef";

// The body a client sends for the JSON text, under kCallKey.
std::string hexFor(std::string_view json) {
    return ServiceRequest::encryptBody(urlEscape(json), kCallKey);
}

TEST(ParseFormBody, TellsCallKeyRequestsFromFunctionRequests) {
    using Kind = FormBody::Kind;
    constexpr std::array good = {
        std::tuple{"DATA=GETRAND?1500000000", Kind::CallKey, "1500000000"},
        std::tuple{"DATA=GETRAND?-5", Kind::CallKey, "-5"},
        std::tuple{"DATA=0AFF", Kind::Function, "0AFF"},
    };
    for (const auto& [body, kind, payload] : good) {
        const std::optional<FormBody> form = parseFormBody(body);
        ASSERT_TRUE(form) << body;
        EXPECT_EQ(form->kind, kind);
        EXPECT_EQ(form->payload, payload);
    }
    constexpr std::array bad = {
        "", "DATA=", "data=0AFF", "DATA=GETRAND?", "DATA=GETRAND?12a", "X=1&DATA=0A"};
    for (const char* body : bad) {
        EXPECT_FALSE(parseFormBody(body)) << body;
    }
}

TEST(PercentDecode, UndoesTheClientEscapes) {
    EXPECT_EQ(percentDecode("%7B%22a%22%3A%E6%B5%8B+1%7D"), "{\"a\":测+1}");
    EXPECT_EQ(percentDecode("%2f%2F"), "//");
    for (const char* broken : {"%", "%2", "%G0", "a%2"}) {
        EXPECT_FALSE(percentDecode(broken)) << broken;
    }
}

TEST(DecodeFunctionRequest, ReadsWhatTheClientSends) {
    const std::string json =
        R"({"rand":"4711","funname":"select_draw","appid":"1112","param":["","50"]})";
    const DecodedCall decoded = decodeFunctionRequest(hexFor(json), kCallKey);
    ASSERT_EQ(decoded.error, ServiceError::None);
    EXPECT_EQ(decoded.call.nonce, 4711);
    EXPECT_EQ(decoded.call.funname, "select_draw");
    EXPECT_EQ(decoded.call.appId, "1112");
    EXPECT_EQ(decoded.call.params, (std::vector<std::string>{"", "50"}));
}

TEST(DecodeFunctionRequest, NamesWhatIsWrong) {
    const std::string good = R"({"rand":"1","funname":"init","appid":"1112","param":[]})";
    const std::array cases = {
        std::tuple{std::string("0AF"), kCallKey, ServiceError::BadHex},
        std::tuple{std::string("0AXY"), kCallKey, ServiceError::BadHex},
        std::tuple{hexFor(good), std::string_view("fedcba9876543210"), ServiceError::Undecryptable},
        std::tuple{hexFor("[1,2]"), kCallKey, ServiceError::Undecryptable},
        std::tuple{hexFor("{\"rand\":"), kCallKey, ServiceError::Undecryptable},
        std::tuple{hexFor(R"({"rand":1,"funname":"init","appid":"1112","param":[]})"), kCallKey,
                   ServiceError::Malformed},
        std::tuple{hexFor(R"({"rand":"1","funname":"init","appid":"1112"})"), kCallKey,
                   ServiceError::Malformed},
        std::tuple{hexFor(R"({"rand":"1","funname":"init","appid":"1112","param":[5]})"), kCallKey,
                   ServiceError::Malformed},
        std::tuple{hexFor(R"({"rand":"x1","funname":"init","appid":"1112","param":[]})"), kCallKey,
                   ServiceError::BadParameters},
        std::tuple{hexFor(R"({"rand":"12345","funname":"init","appid":"1112","param":[]})"),
                   kCallKey, ServiceError::BadParameters},
    };
    for (const auto& [hex, key, error] : cases) {
        EXPECT_EQ(decodeFunctionRequest(hex, key).error, error) << hex;
    }
}

TEST(CookieValue, FindsTheNamedCookie) {
    EXPECT_EQ(cookieValue("PK10SID=abc", "PK10SID"), "abc");
    EXPECT_EQ(cookieValue("a=1; PK10SID=abc; b=2", "PK10SID"), "abc");
    EXPECT_EQ(cookieValue("XPK10SID=abc; PK10SIDX=1", "PK10SID"), "");
    EXPECT_EQ(cookieValue("", "PK10SID"), "");
}

}  // namespace
}  // namespace pk10
