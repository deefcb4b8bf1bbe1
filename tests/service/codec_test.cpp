#include "service/codec.h"

#include <gtest/gtest.h>

#include <array>
#include <string_view>

#include "service/crypto.h"
#include "service/protocol_keys.h"

namespace pk10 {
namespace {

using namespace std::string_view_literals;

TEST(Codec, BytesToHexWritesUpperCasePairs) {
    constexpr std::array cases{
        std::pair{""sv, ""sv},
        std::pair{"\x0A\xFF"sv, "0AFF"sv},
        std::pair{"\x00\x01\x7f"sv, "00017F"sv},
        std::pair{"Key"sv, "4B6579"sv},
    };
    for (const auto& [bytes, hex] : cases) {
        EXPECT_EQ(bytesToHex(bytes), hex);
    }
}

TEST(Codec, HexToBytesReadsPairsAndALoneLastDigit) {
    constexpr std::array cases{
        std::pair{""sv, ""sv},
        std::pair{"0aff"sv, "\x0A\xFF"sv},
        std::pair{"0AFF"sv, "\x0A\xFF"sv},
        std::pair{"ABC"sv, "\xAB\x0C"sv},
        std::pair{"7"sv, "\x07"sv},
        // Characters that are no hex digit count as 0.
        std::pair{"zz1g"sv, "\x00\x10"sv},
    };
    for (const auto& [hex, bytes] : cases) {
        EXPECT_EQ(hexToBytes(hex), bytes) << hex;
    }
}

TEST(Codec, HexRoundTripsEveryByte) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    EXPECT_EQ(hexToBytes(bytesToHex(all)), all);
}

TEST(Codec, ParseNumberReadsEachBase) {
    constexpr std::array cases{
        std::tuple{"ff"sv, 0, 255},
        std::tuple{"FF"sv, 0, 255},
        std::tuple{"7fffffff"sv, 0, 0x7fffffff},
        std::tuple{"ffffffff"sv, 0, -1},
        std::tuple{"17"sv, 2, 15},
        std::tuple{"101"sv, 3, 5},
        std::tuple{"1234"sv, 1, 1234},
        std::tuple{"1234"sv, 5, 1234},
        std::tuple{"12ab"sv, 1, 12},
        std::tuple{" -42"sv, 1, -42},
        std::tuple{""sv, 0, 0},
        std::tuple{""sv, 1, 0},
        std::tuple{"19"sv, 2, 8},
        std::tuple{"1ffffffff"sv, 0, -1},  // wraps at 32 bits
    };
    for (const auto& [text, base, value] : cases) {
        EXPECT_EQ(parseNumber(text, base), value) << text << " base " << base;
    }
}

TEST(Codec, UrlEscapeReproducesTheServiceExample) {
    const std::string_view json =
        R"({"rand":"12","funname":"init","appid":"1112","param":["a b","冠军"]})";
    const std::string_view escaped =
        "%7B%22rand%22:%2212%22,%22funname%22:%22init%22,%22appid%22:%221112%22,%22param%22:%5B%"
        "22a%20b%22,%22%E5%86%A0%E5%86%9B%22%5D%7D";
    EXPECT_EQ(urlEscape(json), escaped);
    EXPECT_EQ(escaped.size(), 128U);
}

TEST(Codec, UrlEscapeFollowsThePlatformRules) {
    constexpr std::array cases{
        std::pair{"a/b?c#d%e"sv, "a%2Fb%3Fc%23d%25e"sv},
        std::pair{"x y&z=1"sv, "x%20y%26z=1"sv},
        std::pair{"C:\\dir\\f.txt"sv, "C:%5Cdir%5Cf.txt"sv},
        std::pair{"100%"sv, "100%25"sv},
        std::pair{"~!*()'"sv, "~!*()'"sv},
        std::pair{"Ma\xC3\x9F"sv, "Ma%C3%9F"sv},
        std::pair{"\xF0\xA0\x9C\x8E"sv, "%F0%A0%9C%8E"sv},
        std::pair{"\xEF\xBF\xBF"sv, "%EF%BF%BF"sv},
        std::pair{"foo/b%ar\\ba?z\\"sv, "foo%2Fb%25ar%5Cba%3Fz%5C"sv},
        std::pair{"file:/foo/bar\\baz"sv, "file:%2Ffoo%2Fbar%5Cbaz"sv},
        std::pair{"ftp\x1F\x01"
                  "end/"sv,
                  "ftp%1F%01end%2F"sv},
        std::pair{"\n\r\x7F"sv, "%0A%0D%7F"sv},
        std::pair{"$+,;=@_-."sv, "$+,;=@_-."sv},
        std::pair{"^]`[{}|<>\""sv, "%5E%5D%60%5B%7B%7D%7C%3C%3E%22"sv},
        // A surrogate written as UTF-8 and a stray byte are escaped as U+FFFD.
        std::pair{"\xED\xA1\x9EQ"sv, "%EF%BF%BD%EF%BF%BD%EF%BF%BDQ"sv},
        std::pair{"\xFF"sv, "%EF%BF%BD"sv},
    };
    for (const auto& [text, escaped] : cases) {
        EXPECT_EQ(urlEscape(text), escaped) << text;
    }
}

TEST(Codec, UrlEscapeKeepsExactlyTheTableCharacters) {
    constexpr std::string_view kEscaped = " \"#%&/<>?[\\]^`{|}";
    for (int c = 0x20; c < 0x7F; ++c) {
        const std::string one(1, static_cast<char>(c));
        const bool escaped = kEscaped.find(static_cast<char>(c)) != std::string_view::npos;
        EXPECT_EQ(urlEscape(one), escaped ? "%" + bytesToHex(one) : one) << one;
    }
}

TEST(Codec, RepairUtf8ReplacesEachIllFormedPart) {
    constexpr std::array cases{
        std::pair{"ok 冠军"sv, "ok 冠军"sv},
        std::pair{"\xFF"sv, "\uFFFD"sv},
        std::pair{"a\xC3"sv, "a\uFFFD"sv},          // truncated
        std::pair{"\xC0\xAF"sv, "\uFFFD\uFFFD"sv},  // overlong
        std::pair{"\xE0\x80\xAF"sv, "\uFFFD\uFFFD\uFFFD"sv},
        std::pair{"\xED\xA0\x80"sv, "\uFFFD\uFFFD\uFFFD"sv},            // surrogate
        std::pair{"\xF4\x90\x80\x80"sv, "\uFFFD\uFFFD\uFFFD\uFFFD"sv},  // above U+10FFFF
        std::pair{"\xE5\x86x"sv, "\uFFFDx"sv},  // maximal subpart is one replacement
        std::pair{"\xF0\x9F\x98\x80"sv, "\xF0\x9F\x98\x80"sv},
    };
    for (const auto& [bytes, repaired] : cases) {
        EXPECT_EQ(repairUtf8(bytes), repaired) << bytesToHex(bytes);
    }
}

TEST(Codec, ProtocolKeysHaveTheDeploymentValues) {
    EXPECT_EQ(protocolKey(), "7k31qz9m58x2vb64");
    EXPECT_EQ(replyKey(0), "0");
    EXPECT_EQ(replyKey(12), "95028");
    EXPECT_EQ(replyKey(9999), "79182081");
}

TEST(Codec, Rc4MatchesPublishedVectors) {
    constexpr std::array cases{
        std::tuple{"Key"sv, "Plaintext"sv, "BBF316E8D940AF0AD3"sv},
        std::tuple{"Wiki"sv, "pedia"sv, "1021BF0420"sv},
        std::tuple{"Secret"sv, "Attack at dawn"sv, "45A01F645FC35B383552544B9BF5"sv},
    };
    for (const auto& [key, plain, cipher] : cases) {
        EXPECT_EQ(bytesToHex(rc4(key, plain)), cipher);
        EXPECT_EQ(rc4(key, hexToBytes(cipher)), plain);
    }
}

}  // namespace
}  // namespace pk10
