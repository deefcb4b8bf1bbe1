#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "service/http_transport.h"

namespace pk10 {

// What the program hands over: its five arguments.
struct UpdateRequest {
    std::string title;
    std::string currentVersion;
    std::string newVersion;
    std::string address;      // where the new program is; its signature is at address + ".sig"
    std::string programName;  // file name of the program beside the updater
};

// The world the installer works in, injected so tests need no network and no processes.
class UpdateEnvironment {
public:
    virtual ~UpdateEnvironment() = default;
    virtual HttpResponse download(const std::string& url) = 0;
    // Returns once the program that started the updater has ended (or waiting is pointless).
    virtual void waitForProgramExit() = 0;
    virtual bool startProgram(const std::filesystem::path& program) = 0;
    // Tells the user why an update did not happen.
    virtual void report(const std::string& message) = 0;
};

struct UpdateOutcome {
    bool installed = false;
    std::string reason;  // why not, when not installed
};

// Replaces the program with a signed download and starts it. The program file changes only
// when the download verifies against `publicKey` and is an executable; whatever happens, a
// program is started afterwards (the new one, or the old one again) so the user is never left
// with nothing.
class UpdateInstaller {
public:
    UpdateInstaller(std::filesystem::path programDir, std::string publicKey,
                    UpdateEnvironment& environment)
        : programDir_(std::move(programDir)),
          publicKey_(std::move(publicKey)),
          environment_(&environment) {}

    UpdateOutcome run(const UpdateRequest& request);

    // The program file beside the updater, with or without ".exe"; empty when neither exists.
    std::filesystem::path findProgram(std::string_view programName) const;
    // Writes `bytes` over `target` through a temporary file, fsync and rename, keeping the old
    // file's permissions. On failure `target` is untouched and the reason is returned.
    static std::string replaceFile(const std::filesystem::path& target, std::string_view bytes);
    static bool looksExecutable(std::string_view bytes);

private:
    std::string fetch(const std::string& url, std::string& bytes);

    std::filesystem::path programDir_;
    std::string publicKey_;
    UpdateEnvironment* environment_;
};

}  // namespace pk10
