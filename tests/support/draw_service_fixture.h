#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include <unistd.h>

#include "server/draw_service.h"

namespace pk10::testing {

// What a test may choose of the service it starts.
struct DrawServiceSettings {
    std::string dbPath;  // "" = a temporary store removed with the fixture
    std::int64_t intervalSeconds = 300;
    std::string version = "1.41";
    std::string replayFile;  // "" simulates
    int appId = 1112;
};

// The real pk10-service running in this process on free 127.0.0.1 ports, for integration
// tests. Link the test with pk10_server.
//
//   DrawServiceFixture service({.intervalSeconds = 300});
//   ASSERT_TRUE(service.ok()) << service.error();
//   client.init(service.initUrl(), 1112);
//
// With an empty dbPath the store lives in a fresh temporary folder that goes with the fixture;
// give a path to keep the store across fixtures (a restart).
class DrawServiceFixture {
public:
    using Settings = DrawServiceSettings;

    explicit DrawServiceFixture(Settings settings = {}) {
        ServiceOptions options;
        options.port = 0;
        options.initPort = 0;
        options.intervalSeconds = settings.intervalSeconds;
        options.version = settings.version;
        options.replayFile = settings.replayFile;
        options.appId = settings.appId;
        options.threads = 8;
        options.log = false;
        if (settings.dbPath.empty()) {
            folder_ = std::filesystem::temp_directory_path() /
                      ("pk10-service-test-" + std::to_string(::getpid()) + "-" +
                       std::to_string(reinterpret_cast<std::uintptr_t>(this)));
            std::filesystem::create_directories(folder_);
            settings.dbPath = (folder_ / "draws.sqlite").string();
        }
        options.dbPath = settings.dbPath;
        options.updatesDir =
            (std::filesystem::path(settings.dbPath).parent_path() / "updates").string();
        service_ = std::make_unique<DrawService>(options);
        ok_ = service_->start(error_);
    }
    ~DrawServiceFixture() {
        stop();
        if (!folder_.empty()) {
            std::error_code ec;
            std::filesystem::remove_all(folder_, ec);
        }
    }
    DrawServiceFixture(const DrawServiceFixture&) = delete;
    DrawServiceFixture& operator=(const DrawServiceFixture&) = delete;

    bool ok() const { return ok_; }
    const std::string& error() const { return error_; }

    // "http://127.0.0.1:<port>", no trailing slash.
    std::string initBaseUrl() const { return base(service_->initPort()); }
    std::string drawBaseUrl() const { return base(service_->drawPort()); }
    // The application-initialisation address, and the fallback init address.
    std::string initUrl() const { return initBaseUrl() + "/appinit.php"; }
    std::string fallbackInitUrl() const { return drawBaseUrl() + "/"; }

    // Finishes the requests in hand and closes the store; the fixture is then spent.
    void stop() { service_->stop(); }

private:
    static std::string base(int port) { return "http://127.0.0.1:" + std::to_string(port); }

    std::filesystem::path folder_;
    std::unique_ptr<DrawService> service_;
    bool ok_ = false;
    std::string error_;
};

}  // namespace pk10::testing
