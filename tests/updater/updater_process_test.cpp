// The real updater program against a loopback download server.
#include <spawn.h>
#include <sys/wait.h>

#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>
#include <thread>

#include "updater/update_fixture.h"

extern char** environ;

namespace pk10 {
namespace {

using testing::TemporaryFolder;

class UpdaterProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy_file(PK10_TEST_UPDATER, folder.path / "更新器.exe");
        testing::writeFile(program, oldBytes, 0755);
        server.Get("/download/pk10", [this](const httplib::Request&, httplib::Response& res) {
            res.set_content(download, "application/octet-stream");
        });
        server.Get("/download/pk10.sig", [this](const httplib::Request&, httplib::Response& res) {
            res.set_content(signature, "text/plain");
        });
        port = server.bind_to_any_port("127.0.0.1");
        listener = std::thread([this] { server.listen_after_bind(); });
        while (!server.is_running()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    void TearDown() override {
        server.stop();
        listener.join();
    }

    // Starts the updater the way the program does, from a parent that ends at once.
    void runUpdater() {
        const std::string updater = (folder.path / "更新器.exe").string();
        const std::string address = "http://127.0.0.1:" + std::to_string(port) + "/download/pk10";
        std::vector<std::string> args{"/bin/sh", "-c",  "\"$0\" \"$@\" &", updater,   "澜星",
                                      "1.41",    "1.5", address,           "pk10.exe"};
        std::vector<char*> argv;
        for (auto& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        pid_t shell = 0;
        ASSERT_EQ(::posix_spawn(&shell, "/bin/sh", nullptr, nullptr, argv.data(), environ), 0);
        int status = 0;
        ::waitpid(shell, &status, 0);
    }

    // Waits for a started program to leave its mark; a real process needs real time.
    std::string awaitMarker() {
        for (int i = 0; i < 300 && !std::filesystem::exists(marker); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        return testing::readFile(marker);
    }

    TemporaryFolder folder;
    std::filesystem::path program = folder.path / "pk10";
    std::filesystem::path marker = folder.path / "started";
    std::string oldBytes = testing::scriptProgram(marker, "old");
    std::string newBytes = testing::scriptProgram(marker, "new");
    std::string download = newBytes;
    std::string signature = testing::signatureText(newBytes);
    httplib::Server server;
    int port = 0;
    std::thread listener;
};

TEST_F(UpdaterProcessTest, ReplacesTheProgramWithTheSignedDownloadAndStartsIt) {
    runUpdater();
    EXPECT_EQ(awaitMarker(), "new\n");
    EXPECT_EQ(testing::readFile(program), newBytes);
    EXPECT_FALSE(std::filesystem::exists(folder.path / "更新器.log"));
}

TEST_F(UpdaterProcessTest, ATamperedDownloadStartsTheOldProgramUnchanged) {
    download = newBytes + "echo evil\n";
    runUpdater();
    EXPECT_EQ(awaitMarker(), "old\n");
    EXPECT_EQ(testing::readFile(program), oldBytes);
    EXPECT_NE(testing::readFile(folder.path / "更新器.log").find("not signed"), std::string::npos);
}

}  // namespace
}  // namespace pk10
