#include "updater/update_installer.h"

#include <gtest/gtest.h>

#include <map>

#include "updater/update_fixture.h"

namespace pk10 {
namespace {

using testing::TemporaryFolder;

class FakeEnvironment final : public UpdateEnvironment {
public:
    HttpResponse download(const std::string& url) override {
        const auto found = responses.find(url);
        return found == responses.end() ? HttpResponse{} : found->second;
    }
    void waitForProgramExit() override { ++waits; }
    bool startProgram(const std::filesystem::path& program) override {
        started.push_back(program);
        return true;
    }
    void report(const std::string& message) override { reports.push_back(message); }

    std::map<std::string, HttpResponse> responses;
    std::vector<std::filesystem::path> started;
    std::vector<std::string> reports;
    int waits = 0;
};

constexpr const char* kAddress = "http://127.0.0.1:1/download/pk10";

class UpdateInstallerTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::writeFile(program, oldBytes, 0755);
        offer(newBytes, testing::signatureText(newBytes));
    }
    void offer(const std::string& bytes, const std::string& signature) {
        environment.responses[kAddress] = HttpResponse{true, 200, bytes};
        environment.responses[std::string(kAddress) + ".sig"] = HttpResponse{true, 200, signature};
    }
    UpdateOutcome run(const std::string& name = "pk10.exe") {
        UpdateInstaller installer(folder.path, ed25519PublicKey(testing::testPrivateKey()),
                                  environment);
        return installer.run({"澜星", "1.41", "1.5", kAddress, name});
    }

    TemporaryFolder folder;
    std::filesystem::path program = folder.path / "pk10";
    std::string oldBytes = "#!/bin/sh\necho old\n";
    std::string newBytes =
        "\x7f"
        "ELF new program";
    FakeEnvironment environment;
};

TEST_F(UpdateInstallerTest, InstallsASignedProgramAndStartsIt) {
    const UpdateOutcome outcome = run();
    EXPECT_TRUE(outcome.installed) << outcome.reason;
    EXPECT_EQ(testing::readFile(program), newBytes);
    EXPECT_EQ(std::filesystem::status(program).permissions() & std::filesystem::perms::all,
              std::filesystem::perms(0755));
    EXPECT_EQ(environment.started, std::vector<std::filesystem::path>{program});
    EXPECT_GE(environment.waits, 1);
    EXPECT_TRUE(environment.reports.empty());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path), {}), 1);
}

TEST_F(UpdateInstallerTest, AnythingWrongLeavesTheOldProgramAndStartsItAgain) {
    const std::string signature = testing::signatureText(newBytes);
    std::string flipped = signature;
    flipped[0] = flipped[0] == 'A' ? 'B' : 'A';
    const std::string text = "just text";
    struct Case {
        const char* what;
        std::function<void()> arrange;
        const char* reason;
    };
    const std::vector<Case> cases{
        {"tampered download", [&] { offer(newBytes + "x", signature); }, "not signed"},
        {"tampered signature", [&] { offer(newBytes, flipped); }, "not signed"},
        {"signature of another length", [&] { offer(newBytes, "ABCD"); }, "not signed"},
        {"missing signature",
         [&] {
             environment.responses[std::string(kAddress) + ".sig"] = {true, 404, "gone"};
         },
         "HTTP 404"},
        {"unreachable", [&] { environment.responses.clear(); }, "cannot reach"},
        {"not a program", [&] { offer(text, testing::signatureText(text)); }, "not a program"},
    };
    for (const auto& c : cases) {
        SetUp();
        environment.started.clear();
        environment.reports.clear();
        c.arrange();
        const UpdateOutcome outcome = run();
        EXPECT_FALSE(outcome.installed) << c.what;
        EXPECT_NE(outcome.reason.find(c.reason), std::string::npos)
            << c.what << ": " << outcome.reason;
        EXPECT_EQ(testing::readFile(program), oldBytes) << c.what;
        EXPECT_EQ(environment.started, std::vector<std::filesystem::path>{program}) << c.what;
        EXPECT_EQ(environment.reports.size(), 1U) << c.what;
    }
}

TEST_F(UpdateInstallerTest, FindsTheProgramWithOrWithoutExe) {
    EXPECT_TRUE(run("pk10.exe").installed);
    EXPECT_TRUE(run("pk10").installed);
    const UpdateOutcome missing = run("other.exe");
    EXPECT_FALSE(missing.installed);
    EXPECT_EQ(environment.reports.size(), 1U);
}

}  // namespace
}  // namespace pk10
