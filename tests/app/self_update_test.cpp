// The whole hand-over, offscreen: the real service offers a newer version and a signed build,
// the program asks, writes the updater that trusts the test key and starts it; the real
// updater then replaces the program file, or leaves it alone and starts the old one.
#include <spawn.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <QApplication>
#include <chrono>
#include <functional>
#include <thread>

#include "app/app.h"
#include "tests/support/draw_service_fixture.h"
#include "tests/ui/shell_fakes.h"
#include "tests/updater/update_fixture.h"
#include "ui/qt/qt_toolkit.h"

extern char** environ;

namespace pk10 {
namespace {

using testing::DrawServiceFixture;
using testing::readFile;
using testing::TemporaryFolder;
using testing::writeFile;

constexpr const char* kProgramName = "澜星PK10平刷冠军单双";

// Starts the updater from a shell that ends at once, so the updater is orphaned straight away
// as it would be when the program ends (this test process goes on).
class OrphanStarter final : public ProcessStarter {
public:
    bool start(const std::filesystem::path& program,
               const std::vector<std::string>& arguments) override {
        lastArguments = arguments;
        if (beforeStart) {
            beforeStart();
        }
        std::vector<std::string> args{"/bin/sh", "-c", "\"$0\" \"$@\" &", program.string()};
        args.insert(args.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (auto& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        pid_t shell = 0;
        if (::posix_spawn(&shell, "/bin/sh", nullptr, nullptr, argv.data(), environ) != 0) {
            return false;
        }
        int status = 0;
        ::waitpid(shell, &status, 0);
        ++starts;
        return true;
    }
    std::function<void()> beforeStart;
    std::vector<std::string> lastArguments;
    int starts = 0;
};

DrawServiceFixture::Settings serviceSettings(const std::filesystem::path& dir) {
    DrawServiceFixture::Settings settings;
    settings.dbPath = (dir / "draws.sqlite").string();  // its updates folder is dir/updates
    settings.version = "1.5";
    return settings;
}

class SelfUpdateTest : public ::testing::Test {
protected:
    SelfUpdateTest() {
        std::filesystem::create_directories(programDir);
        std::filesystem::create_directories(serviceDir);
        writeFile(program, oldBytes, 0755);
        options.initUrl = service.initUrl();
        options.fallbackUrl = "http://127.0.0.1:1/";
        options.workingDirectory = root.path;
        options.programDirectory = programDir;
        options.updaterStarter = &starter;
        options.updaterBytes = testUpdater;
        messages.answerOk = true;
        parts.messages = &messages;
        parts.opener = &opener;
        parts.advert = [](QWidget* parent) -> AdvertBox* { return new BlankAdvertBox(parent); };
        parts.onSplashClosed = [] {};
    }

    void publish(const std::string& bytes, const std::string& signature) {
        writeFile(updates / "pk10-update.exe", bytes);
        writeFile(updates / "pk10-update.exe.sig", signature);
    }

    // Runs the program's start-up; true when it went on to show the window.
    bool startProgram() {
        QtToolkit toolkit(parts);
        App app(toolkit, options);
        return app.start();
    }

    // A started program leaves its mark; real processes need real time.
    std::string awaitMarker() {
        for (int i = 0; i < 400 && !std::filesystem::exists(marker); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        return readFile(marker);
    }

    // Asserts the hand-over happened as the user asked for it.
    void expectHandOver() {
        EXPECT_EQ(messages.messages, std::vector<std::string>{std::string(kProgramName) +
                                                              "已经更新至1.5\r\n点击确定立即更新"});
        ASSERT_EQ(starter.starts, 1);
        EXPECT_EQ(starter.lastArguments,
                  (std::vector<std::string>{kProgramName, "1.41", "1.5", downloadUrl(),
                                            std::string(kProgramName) + ".exe"}));
        EXPECT_EQ(readFile(updater), testUpdater);
    }

    std::string downloadUrl() const { return service.drawBaseUrl() + "/download/pk10-update.exe"; }

    TemporaryFolder root;
    std::filesystem::path programDir = root.path / "program";
    std::filesystem::path serviceDir = root.path / "service";
    std::filesystem::path updates = serviceDir / "updates";
    std::filesystem::path program = programDir / kProgramName;
    std::filesystem::path updater = programDir / "更新器.exe";
    std::filesystem::path marker = root.path / "started";
    std::string oldBytes = testing::scriptProgram(marker, "old");
    std::string newBytes = testing::scriptProgram(marker, "new");
    std::string testUpdater = readFile(PK10_TEST_UPDATER);
    DrawServiceFixture service{serviceSettings(serviceDir)};
    OrphanStarter starter;
    AppOptions options;
    testing::RecordingMessageBoxes messages;
    testing::RecordingOpener opener;
    QtToolkit::Parts parts;
};

TEST_F(SelfUpdateTest, OkInstallsTheSignedBuildAndStartsIt) {
    ASSERT_TRUE(service.ok()) << service.error();
    ASSERT_FALSE(testUpdater.empty());
    publish(newBytes, testing::signatureText(newBytes));
    // A left-over updater from an earlier update goes at start; the fresh one is written.
    writeFile(updater, "left over", 0755);

    EXPECT_FALSE(startProgram()) << "the program ends after handing over";
    EXPECT_EQ(App::exitCode(), 0);
    expectHandOver();
    EXPECT_EQ(awaitMarker(), "new\n");
    EXPECT_EQ(readFile(program), newBytes);

    // The next start removes the updater, before it even reaches the service.
    options.initUrl = "http://127.0.0.1:1/appinit.php";
    messages.messages.clear();
    EXPECT_FALSE(startProgram());
    EXPECT_FALSE(std::filesystem::exists(updater));
}

TEST_F(SelfUpdateTest, WhatDoesNotVerifyLeavesTheProgramAndStartsTheOldOne) {
    ASSERT_TRUE(service.ok()) << service.error();
    const std::string goodSignature = testing::signatureText(newBytes);
    struct Case {
        const char* name;
        std::string download;
        std::string signature;
        bool publishSignatureOnly;
    };
    const std::array cases{
        Case{"tampered download", newBytes + "echo evil\n", goodSignature, false},
        Case{"tampered signature", newBytes,
             goodSignature.substr(0, 10) + (goodSignature[10] == '0' ? "1" : "0") +
                 goodSignature.substr(11),
             false},
        Case{"no such file (404)", "", goodSignature, true},
    };
    for (const auto& [name, download, signature, signatureOnly] : cases) {
        SCOPED_TRACE(name);
        std::filesystem::remove(marker);
        std::filesystem::remove(updates / "pk10-update.exe");
        if (signatureOnly) {
            writeFile(updates / "pk10-update.exe.sig", signature);
        } else {
            publish(download, signature);
        }
        messages.messages.clear();
        starter.starts = 0;
        EXPECT_FALSE(startProgram());
        expectHandOver();
        EXPECT_EQ(awaitMarker(), "old\n");
        EXPECT_EQ(readFile(program), oldBytes) << "byte for byte";
        EXPECT_TRUE(std::filesystem::exists(programDir / "更新器.log"));
    }
}

TEST_F(SelfUpdateTest, AnUnreachableAddressStartsTheOldProgram) {
    ASSERT_TRUE(service.ok()) << service.error();
    publish(newBytes, testing::signatureText(newBytes));
    // The service goes away between the prompt and the download.
    starter.beforeStart = [this] { service.stop(); };
    EXPECT_FALSE(startProgram());
    expectHandOver();
    EXPECT_EQ(awaitMarker(), "old\n");
    EXPECT_EQ(readFile(program), oldBytes);
}

TEST_F(SelfUpdateTest, CancelEndsTheProgramAndWritesNothing) {
    ASSERT_TRUE(service.ok()) << service.error();
    publish(newBytes, testing::signatureText(newBytes));
    messages.answerOk = false;
    EXPECT_FALSE(startProgram());
    EXPECT_EQ(App::exitCode(), 0);
    EXPECT_EQ(messages.messages.size(), 1U);
    EXPECT_EQ(starter.starts, 0);
    EXPECT_FALSE(std::filesystem::exists(updater));
    EXPECT_EQ(readFile(program), oldBytes);
}

}  // namespace
}  // namespace pk10

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
