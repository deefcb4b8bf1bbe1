#include "app/settings_file.h"

#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <iterator>

#include "tests/support/temporary_folder.h"

namespace pk10 {
namespace {

class SettingsFileTest : public ::testing::Test {
protected:
    SettingsFileTest() { file = SettingsFile::inDirectory(directory, "澜星PK10平刷冠军单双"); }

    void putBytes(std::string_view bytes) { std::ofstream(file.path(), std::ios::binary) << bytes; }
    std::string bytes() const {
        std::ifstream in(file.path(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    testing::TemporaryFolder temporary;
    std::filesystem::path directory = temporary.path;
    SettingsFile file;
};

TEST_F(SettingsFileTest, MissingFileGivesTheDefaultAndCreatesNothing) {
    EXPECT_TRUE(file.path().filename() == std::filesystem::path(u8"配置.ini"));
    EXPECT_EQ(file.read("公式期数", "3"), "3");
    EXPECT_EQ(file.read("公式期数", "one two  "), "one two");
    file.setHidden();
    EXPECT_FALSE(std::filesystem::exists(file.path()));
}

TEST_F(SettingsFileTest, WritesGbkWithCrLfAndCreatesFileAndSection) {
    ASSERT_TRUE(file.write("公式期数", "2"));
    // "[澜星PK10平刷冠军单双]\r\n公式期数=2\r\n" in GBK.
    EXPECT_EQ(bytes(),
              "[\xC0\xBD\xD0\xC7PK10\xC6\xBD\xCB\xA2\xB9\xDA\xBE\xFC\xB5\xA5\xCB\xAB]\r\n"
              "\xB9\xAB\xCA\xBD\xC6\xDA\xCA\xFD=2\r\n");
    EXPECT_EQ(file.read("公式期数", "3"), "2");
    ASSERT_TRUE(file.write("公式期数", "1"));
    EXPECT_EQ(file.read("公式期数", "3"), "1");
    EXPECT_FALSE(std::filesystem::exists(file.path().string() + ".tmp"));
}

TEST_F(SettingsFileTest, ReadsLikeTheProfileFunctions) {
    SettingsFile plain(file.path(), "section1");
    putBytes(
        "[other]\r\nname1=no\r\n[ section1 ]\r\nname1=val1\r\nname2=\"val2\"\r\nname3\r\n"
        "  name4  =  a b  \r\nname1=second\r\n[section2]\r\n");
    constexpr std::array<std::pair<std::string_view, std::string_view>, 6> cases{{
        {"name1", "val1"},     // the first occurrence wins
        {"NaMe1", "val1"},     // names match without regard to case
        {"name2", "val2"},     // one pair of quotes is dropped
        {"name3", "default"},  // a line without "=" is no key
        {"name4", "a b"},      // blanks around key and value are trimmed
        {"notakey", "default"},
    }};
    for (const auto& [key, value] : cases) {
        EXPECT_EQ(plain.read(key, "default"), value) << key;
    }
    EXPECT_EQ(SettingsFile(file.path(), "SECTION2").read("x", "d"), "d");
}

TEST_F(SettingsFileTest, NewKeyGoesAfterTheLastKeyOfItsSection) {
    SettingsFile app1(file.path(), "App1");
    putBytes("[App1]\r\nkey1=string1\r\n\r\n[App2]\nkey4=string4\n");
    ASSERT_TRUE(app1.write("key2", "string2"));
    ASSERT_TRUE(SettingsFile(file.path(), "app2").write("KEY4", "new"));
    ASSERT_TRUE(SettingsFile(file.path(), "App3").write("key5", "string5"));
    EXPECT_EQ(bytes(),
              "[App1]\r\nkey1=string1\r\nkey2=string2\r\n\r\n[App2]\r\nKEY4=new\r\n"
              "[App3]\r\nkey5=string5\r\n");
}

TEST_F(SettingsFileTest, UnwritableDirectoryReportsFailure) {
    SettingsFile nowhere(directory / "missing" / "配置.ini", "s");
    EXPECT_FALSE(nowhere.write("k", "v"));
}

}  // namespace
}  // namespace pk10
