#include "service/json_value.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string_view>

namespace pk10 {
namespace {

using namespace std::string_view_literals;

TEST(JsonValue, ErrcodeReadsAsTextByItsType) {
    constexpr std::array cases{
        std::tuple{R"({"errcode":0})"sv, "0"sv, json_type::kInt},
        std::tuple{R"({"errcode":"0"})"sv, "0"sv, json_type::kString},
        std::tuple{R"({"errcode":false})"sv, ""sv, json_type::kBool},
        std::tuple{R"({"errcode":true})"sv, "true"sv, json_type::kBool},
        std::tuple{R"({"errcode":null})"sv, ""sv, json_type::kNull},
        std::tuple{R"({})"sv, ""sv, json_type::kNone},
        std::tuple{R"({"errcode":-7})"sv, "-7"sv, json_type::kInt},
        std::tuple{R"({"errcode":3000000000})"sv, "3000000000"sv, json_type::kUint},
        std::tuple{R"({"errcode":-3000000000})"sv, "-3000000000"sv, json_type::kInt64},
        std::tuple{R"({"errcode":18446744073709551615})"sv, "18446744073709551615"sv,
                   json_type::kUint64},
        std::tuple{R"({"errcode":1.50})"sv, "1.5"sv, json_type::kDouble},
        std::tuple{R"({"errcode":2.0})"sv, "2"sv, json_type::kDouble},
        std::tuple{R"({"errcode":[1, "a"]})"sv, R"([1,"a"])"sv, json_type::kArray},
        std::tuple{R"({"errcode":{"a" : 1}})"sv, R"({"a":1})"sv, json_type::kObject},
    };
    for (const auto& [json, text, type] : cases) {
        JsonReply reply;
        ASSERT_TRUE(reply.parse(json)) << json;
        int readType = 99;
        EXPECT_EQ(reply.memberText("errcode", &readType), text) << json;
        EXPECT_EQ(readType, type) << json;
        EXPECT_EQ(reply.errcode(), text);
    }
}

TEST(JsonValue, TypedSettersStoreByTypeCode) {
    constexpr std::array cases{
        std::tuple{"123"sv, json_type::kString, R"("123")"sv},
        std::tuple{"false"sv, json_type::kBool, "true"sv},
        std::tuple{""sv, json_type::kBool, "false"sv},
        std::tuple{"x"sv, json_type::kNull, "null"sv},
        std::tuple{"42abc"sv, json_type::kInt, "42"sv},
        std::tuple{"abc"sv, json_type::kUint, "0"sv},
        std::tuple{"0.5"sv, json_type::kDouble, "0.5"sv},
        std::tuple{"-9000000000"sv, json_type::kInt64, "-9000000000"sv},
        std::tuple{"-5"sv, json_type::kUint64, "-5"sv},
    };
    for (const auto& [text, type, written] : cases) {
        JsonValue value;
        ASSERT_TRUE(value.reset());
        EXPECT_TRUE(value.setMember("m", text, type)) << text;
        EXPECT_EQ(value.toText(), R"({"m":)" + std::string(written) + "}") << text;
    }
    JsonValue value;
    value.reset();
    EXPECT_FALSE(value.setMember("m", "1", 10));
    EXPECT_FALSE(value.setMember("m", "1", -1));
    EXPECT_EQ(value.toText(), "{}");
    value.setMember("m", "123");
    EXPECT_EQ(value.toText(), R"({"m":"123"})");
}

TEST(JsonValue, BuildsARequestBodyInMemberOrder) {
    JsonValue body;
    JsonArray params;
    body.reset();
    body.setMember("rand", "12");
    body.setMember("funname", "init");
    body.setMember("appid", "1112");
    params.reset();
    params.append("a b");
    params.append("冠军");
    EXPECT_TRUE(body.setMemberValue("param", params));
    EXPECT_EQ(body.toText(),
              R"({"rand":"12","funname":"init","appid":"1112","param":["a b","冠军"]})");
    // The array keeps its own node.
    EXPECT_EQ(params.toText(), R"(["a b","冠军"])");
}

TEST(JsonValue, WithoutANodeEverythingIsEmpty) {
    JsonReply reply;
    EXPECT_TRUE(reply.isEmpty());
    EXPECT_EQ(reply.toText(), "");
    EXPECT_FALSE(reply.setMember("a", "b"));
    int type = 0;
    EXPECT_EQ(reply.memberText("a", &type), "");
    EXPECT_EQ(type, json_type::kNone);
    EXPECT_FALSE(reply.parse("{\"a\":"));
    EXPECT_TRUE(reply.isEmpty());
    EXPECT_EQ(reply.toText(), "");
    EXPECT_EQ(reply.type(), json_type::kNone);
}

TEST(JsonValue, IsOkReadsTheErrcodeAsAnInteger) {
    constexpr std::array cases{
        std::pair{R"({"errcode":"0"})"sv, true},   std::pair{R"({"errcode":0})"sv, true},
        std::pair{R"({"errcode":"00"})"sv, true},  std::pair{R"({})"sv, true},
        std::pair{R"({"errcode":"x"})"sv, true},   std::pair{R"({"errcode":"1"})"sv, false},
        std::pair{R"({"errcode":9999})"sv, false},
    };
    for (const auto& [json, ok] : cases) {
        JsonReply reply;
        reply.parse(json);
        EXPECT_EQ(reply.isOk(), ok) << json;
    }
}

TEST(JsonValue, EntriesMembersAndCopies) {
    JsonValue value;
    ASSERT_TRUE(value.parse(R"({"a":1,"b":{"c":"d"},"e":[true,null]})"));
    int type = 0;
    std::string name;
    EXPECT_EQ(value.entryText(2, &type, &name), R"({"c":"d"})");
    EXPECT_EQ(type, json_type::kObject);
    EXPECT_EQ(name, "b");
    EXPECT_EQ(value.entryText(4, &type), "");
    EXPECT_EQ(type, json_type::kNone);
    EXPECT_EQ(value.entryText(0, &type), "");

    JsonValue inner;
    JsonArray list;
    EXPECT_TRUE(value.memberValue("b", inner));
    EXPECT_EQ(inner.memberText("c"), "d");
    EXPECT_FALSE(value.memberValue("b", list));
    EXPECT_TRUE(list.isEmpty());
    EXPECT_TRUE(value.entryValue(3, list));
    EXPECT_EQ(list.elementText(1, &type), "true");
    EXPECT_EQ(type, json_type::kBool);
    EXPECT_EQ(list.elementText(2, &type), "");
    EXPECT_EQ(type, json_type::kNull);

    std::vector<std::string> names;
    std::vector<std::string> values;
    std::vector<int> types;
    EXPECT_EQ(value.members(names, values, types), 3);
    EXPECT_EQ(names, (std::vector<std::string>{"a", "b", "e"}));
    EXPECT_EQ(values[0], "1");
    EXPECT_EQ(list.elements(values, types), 2);

    JsonValue onArray;
    onArray.parse("[1]");
    names = {"kept"};
    EXPECT_EQ(onArray.members(names, values, types), -1);
    EXPECT_EQ(names, std::vector<std::string>{"kept"});

    const JsonValue copy = value;
    value.setMember("a", "changed");
    EXPECT_EQ(copy.memberText("a"), "1");
    auto node = value.detach();
    EXPECT_TRUE(value.isEmpty());
    EXPECT_TRUE(inner.attach(std::move(node)));
    EXPECT_EQ(inner.memberText("a"), "changed");
}

TEST(JsonValue, WritesInvalidUtf8AsReplacementCharacters) {
    JsonValue value;
    value.reset();
    value.setMember("m", "a\xFF");
    EXPECT_EQ(value.toText(), "{\"m\":\"a\uFFFD\"}");
}

TEST(JsonValue, RefusesVeryDeepDocuments) {
    JsonValue value;
    EXPECT_TRUE(value.parse(std::string(500, '[') + std::string(500, ']')));
    EXPECT_FALSE(value.parse(std::string(100000, '[') + std::string(100000, ']')));
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(JsonValue, AcceptsAndRefusesTheJsonTestSuite) {
    const std::filesystem::path folder =
        std::filesystem::path(PK10_SOURCE_DIR) / "tests/data/JSONTestSuite/test_parsing";
    int seen = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string file = entry.path().filename().string();
        const char verdict = file.front();
        if (verdict != 'y' && verdict != 'n') {
            continue;
        }
        ++seen;
        JsonValue value;
        EXPECT_EQ(value.parse(readFile(entry.path())), verdict == 'y') << file;
    }
    EXPECT_GT(seen, 0);
}

}  // namespace
}  // namespace pk10
