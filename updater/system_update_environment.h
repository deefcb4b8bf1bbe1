#pragma once

#include <sys/types.h>

#include <filesystem>

#include "service/curl_transport.h"
#include "service/event_pump.h"
#include "updater/update_installer.h"

namespace pk10 {

// The real world of the updater: downloads over HTTP, its parent process as the program to
// wait for, posix_spawn to start programs, and stderr plus a log file beside the program for
// reports.
class SystemUpdateEnvironment final : public UpdateEnvironment {
public:
    explicit SystemUpdateEnvironment(std::filesystem::path logFile);

    HttpResponse download(const std::string& url) override;
    void waitForProgramExit() override;
    bool startProgram(const std::filesystem::path& program) override;
    void report(const std::string& message) override;

private:
    std::filesystem::path logFile_;
    pid_t parent_;
    NoEventPump pump_;
    CurlTransport transport_;
};

}  // namespace pk10
