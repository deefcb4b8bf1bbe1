#include "updater/system_update_environment.h"

#include <spawn.h>
#include <unistd.h>

#include <chrono>
#include <ctime>
#include <fstream>
#include <iostream>
#include <thread>

extern char** environ;

namespace pk10 {

SystemUpdateEnvironment::SystemUpdateEnvironment(std::filesystem::path logFile)
    : logFile_(std::move(logFile)), parent_(::getppid()), transport_(pump_) {}

HttpResponse SystemUpdateEnvironment::download(const std::string& url) {
    return transport_.get(url);
}

void SystemUpdateEnvironment::waitForProgramExit() {
    // The program starts the updater and then ends; the updater is then handed to another
    // parent. Ten seconds is far more than a clean exit takes.
    using namespace std::chrono;
    const auto deadline = steady_clock::now() + seconds(10);
    while (::getppid() == parent_ && parent_ != 1 && steady_clock::now() < deadline) {
        std::this_thread::sleep_for(milliseconds(50));
    }
}

bool SystemUpdateEnvironment::startProgram(const std::filesystem::path& program) {
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    std::string path = program.string();
    char* argv[] = {path.data(), nullptr};
    pid_t child = 0;
    const int rc = ::posix_spawn(&child, path.c_str(), nullptr, &attributes, argv, environ);
    posix_spawnattr_destroy(&attributes);
    if (rc != 0) {
        report("cannot start " + path);
        return false;
    }
    return true;
}

void SystemUpdateEnvironment::report(const std::string& message) {
    std::cerr << "更新器: " << message << "\n";
    std::ofstream log(logFile_, std::ios::app | std::ios::binary);
    const std::time_t now = std::time(nullptr);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", std::localtime(&now));
    log << stamp << " " << message << "\n";
}

}  // namespace pk10
