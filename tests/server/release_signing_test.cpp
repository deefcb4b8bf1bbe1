#include "server/release_signing.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "server/service_options.h"
#include "service/codec.h"
#include "service/crypto.h"

namespace pk10 {
namespace {

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void writeFile(const std::filesystem::path& path, const std::string& content) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
}

std::string trimmed(std::string text) {
    text.erase(text.find_last_not_of("\r\n") + 1);
    return text;
}

class ReleaseSigningTest : public ::testing::Test {
protected:
    ReleaseSigningTest() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "pk10-sign-XXXXXX").string();
        folder = ::mkdtemp(pattern.data());
    }
    ~ReleaseSigningTest() override { std::filesystem::remove_all(folder); }

    std::filesystem::path folder;
    std::string key = (folder / "release.key").string();
    std::string error;
};

TEST_F(ReleaseSigningTest, KeygenAndSignRoundTripThroughVerify) {
    ASSERT_TRUE(ReleaseSigning::generateKey(key, error)) << error;
    const std::string keyText = readFile(key);
    const std::string pubText = readFile(key + ".pub");
    ASSERT_EQ(keyText.size(), 65U);
    ASSERT_EQ(pubText.size(), 65U);
    EXPECT_EQ(keyText.back(), '\n');
    EXPECT_EQ(keyText.find_first_not_of("0123456789abcdef"), 64U) << keyText;
    struct stat info {};
    ASSERT_EQ(::stat(key.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600U) << "the private key is the owner's alone";

    const std::string seed = hexToBytes(trimmed(keyText));
    const std::string publicKey = hexToBytes(trimmed(pubText));
    EXPECT_EQ(ed25519PublicKey(seed), publicKey);

    const std::string release = (folder / "pk10-update.exe").string();
    const std::string content = std::string(
        "\x7f"
        "ELF\0binary",
        11);
    writeFile(release, content);
    ASSERT_TRUE(ReleaseSigning::signFile(key, release, error)) << error;
    const std::string sigText = readFile(release + ".sig");
    ASSERT_EQ(sigText.size(), 129U);
    const std::string signature = hexToBytes(trimmed(sigText));
    EXPECT_TRUE(ed25519Verify(publicKey, content, signature));
    EXPECT_FALSE(ed25519Verify(publicKey, content + "x", signature));

    // A second pair is a different key; the first is never overwritten.
    EXPECT_FALSE(ReleaseSigning::generateKey(key, error));
    EXPECT_EQ(readFile(key), keyText);
    const std::string other = (folder / "other.key").string();
    ASSERT_TRUE(ReleaseSigning::generateKey(other, error)) << error;
    EXPECT_NE(readFile(other), keyText);
}

TEST_F(ReleaseSigningTest, SignsWithTheKeyFilesTheUpdaterIsBuiltFrom) {
    const std::string testKey = PK10_SOURCE_DIR "/tests/updater/keys/test.key";
    const std::string publicKey =
        hexToBytes(trimmed(readFile(PK10_SOURCE_DIR "/tests/updater/keys/test.pub")));
    const std::string release = (folder / "update").string();
    writeFile(release, "#!/bin/sh\necho new\n");
    ASSERT_TRUE(ReleaseSigning::signFile(testKey, release, error)) << error;
    EXPECT_TRUE(ed25519Verify(publicKey, readFile(release),
                              hexToBytes(trimmed(readFile(release + ".sig")))));
}

TEST_F(ReleaseSigningTest, RefusesWhatIsNoKeyOrNoFile) {
    const std::string release = (folder / "update").string();
    writeFile(release, "x");
    constexpr std::array<std::string_view, 4> badKeys{
        "", "abc\n", "0c703727bcb689938d7d8120507b43a159b1218e0f7e5180389decb75f6043c\n",
        "zz703727bcb689938d7d8120507b43a159b1218e0f7e5180389decb75f6043c9\n"};
    for (const std::string_view text : badKeys) {
        writeFile(key, std::string(text));
        EXPECT_FALSE(ReleaseSigning::signFile(key, release, error)) << text;
        EXPECT_FALSE(std::filesystem::exists(release + ".sig")) << text;
    }
    ASSERT_TRUE(std::filesystem::remove(key));
    EXPECT_FALSE(ReleaseSigning::signFile(key, release, error));
    EXPECT_FALSE(ReleaseSigning::generateKey((folder / "missing" / "k").string(), error));
}

TEST(ServiceCommandLine, KeygenAndSignSubcommands) {
    std::ostringstream out;
    std::ostringstream err;
    const std::array keygenArgs{"pk10-service", "keygen", "--out", "/tmp/k"};
    const CommandLine keygen =
        parseCommandLine(static_cast<int>(keygenArgs.size()), keygenArgs.data(), out, err);
    EXPECT_EQ(keygen.action, CommandLine::Action::Keygen);
    EXPECT_EQ(keygen.keyFile, "/tmp/k");

    const std::string self = PK10_SOURCE_DIR "/tests/updater/keys/test.key";
    const std::array signArgs{"pk10-service", "sign", "--key", self.c_str(), self.c_str()};
    const CommandLine sign =
        parseCommandLine(static_cast<int>(signArgs.size()), signArgs.data(), out, err);
    EXPECT_EQ(sign.action, CommandLine::Action::Sign);
    EXPECT_EQ(sign.keyFile, self);
    EXPECT_EQ(sign.signFile, self);

    const std::array missing{"pk10-service", "sign", "--key", self.c_str()};
    EXPECT_EQ(parseCommandLine(static_cast<int>(missing.size()), missing.data(), out, err).action,
              CommandLine::Action::Exit);
}

}  // namespace
}  // namespace pk10
