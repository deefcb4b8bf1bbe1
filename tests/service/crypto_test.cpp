#include "service/crypto.h"

#include <gtest/gtest.h>

#include <array>

#include "service/gbk.h"

namespace pk10 {
namespace {

std::string hex(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : bytes) {
        out.push_back(kDigits[static_cast<unsigned char>(c) >> 4]);
        out.push_back(kDigits[static_cast<unsigned char>(c) & 0x0F]);
    }
    return out;
}

// Classic RC4 vectors and RFC 1321 A.5.
TEST(Rc4, MatchesPublishedVectors) {
    const std::array cases{
        std::tuple{"Key", "Plaintext", "BBF316E8D940AF0AD3"},
        std::tuple{"Wiki", "pedia", "1021BF0420"},
        std::tuple{"Secret", "Attack at dawn", "45A01F645FC35B383552544B9BF5"},
    };
    for (const auto& [key, plain, cipher] : cases) {
        EXPECT_EQ(hex(rc4(key, plain)), cipher) << key;
        EXPECT_EQ(rc4(key, rc4(key, plain)), plain) << key;
    }
}

TEST(Rc4, KeystreamAtOffset4096) {
    // RFC 6229, key 0102030405, offset 4096.
    const std::string key{"\x01\x02\x03\x04\x05"};
    const std::string stream = rc4(key, std::string(4096 + 16, '\0')).substr(4096);
    EXPECT_EQ(hex(stream), "FF25B58995996707E51FBDF08B34D875");
}

TEST(Md5, MatchesPublishedVectors) {
    const std::array cases{
        std::pair{"", "d41d8cd98f00b204e9800998ecf8427e"},
        std::pair{"abc", "900150983cd24fb0d6963f7d28e17f72"},
        std::pair{"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
    };
    for (const auto& [input, digest] : cases) {
        EXPECT_EQ(md5Hex(input), digest) << input;
    }
    EXPECT_EQ(md5Hex(std::string(56, 'x')), "668a72d5ba17f08e62dabcafad6db14b");
}

std::string unhex(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
        out.push_back(static_cast<char>(std::stoi(std::string(text.substr(i, 2)), nullptr, 16)));
    }
    return out;
}

// RFC 8032, section 7.1, test 1.
TEST(Ed25519, MatchesThePublishedVectorAndRefusesTampering) {
    const std::string privateKey =
        unhex("9d61b19deffd5a60ba844af492ec2cc44449c5697b326919703bac031cae7f60");
    const std::string publicKey = ed25519PublicKey(privateKey);
    EXPECT_EQ(hex(publicKey), "D75A980182B10AB7D54BFED3C964073A0EE172F3DAA62325AF021A68F707511A");
    const std::string signature = ed25519Sign(privateKey, "");
    EXPECT_EQ(hex(signature),
              "E5564300C360AC729086E2CC806E828A84877F1EB8E5D974D873E06522490155"
              "5FB8821590A33BACC61E39701CF9B46BD25BF5F0595BBE24655141438E7A100B");
    EXPECT_TRUE(ed25519Verify(publicKey, "", signature));
    EXPECT_FALSE(ed25519Verify(publicKey, "x", signature));
    std::string flipped = signature;
    flipped[10] ^= 1;
    EXPECT_FALSE(ed25519Verify(publicKey, "", flipped));
    EXPECT_FALSE(ed25519Verify(publicKey, "", signature.substr(1)));
    EXPECT_FALSE(ed25519Verify("short", "", signature));
    EXPECT_EQ(ed25519Sign("short", "m"), "");
}

TEST(Gbk, RoundTripsChineseAndRefusesWhatItCannotHold) {
    const auto gbk = utf8ToGbk("冠军单双");
    ASSERT_TRUE(gbk);
    EXPECT_EQ(gbk->size(), 8U);
    EXPECT_EQ(gbkToUtf8(*gbk), "冠军单双");
    EXPECT_FALSE(utf8ToGbk("\xff"));
    EXPECT_FALSE(utf8ToGbk("😀"));
}

}  // namespace
}  // namespace pk10
