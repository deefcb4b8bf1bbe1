#include "updater/update_installer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "service/codec.h"
#include "service/crypto.h"

namespace pk10 {
namespace {

std::string systemError(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

// A signature file holds the 64 signature bytes as hex; surrounding blanks are ignored.
std::string signatureFromText(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
        text.remove_suffix(1);
    }
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
        text.remove_prefix(1);
    }
    if (text.size() != 2 * kEd25519SignatureSize ||
        text.find_first_not_of("0123456789abcdefABCDEF") != std::string_view::npos) {
        return {};
    }
    return hexToBytes(text);
}

}  // namespace

std::filesystem::path UpdateInstaller::findProgram(std::string_view programName) const {
    std::error_code error;
    const std::filesystem::path named =
        programDir_ / std::filesystem::path(std::string(programName));
    if (std::filesystem::is_regular_file(named, error)) {
        return named;
    }
    constexpr std::string_view kExe = ".exe";
    if (programName.ends_with(kExe)) {
        const auto bare =
            programDir_ / std::string(programName.substr(0, programName.size() - kExe.size()));
        if (std::filesystem::is_regular_file(bare, error)) {
            return bare;
        }
    }
    return {};
}

bool UpdateInstaller::looksExecutable(std::string_view bytes) {
#ifdef _WIN32
    return bytes.starts_with("MZ");
#else
    return bytes.starts_with(
               "\x7f"
               "ELF") ||
           bytes.starts_with("#!");
#endif
}

std::string UpdateInstaller::fetch(const std::string& url, std::string& bytes) {
    const HttpResponse response = environment_->download(url);
    if (!response.received) {
        return "cannot reach " + url;
    }
    if (response.status < 200 || response.status >= 300) {
        return url + " answered HTTP " + std::to_string(response.status);
    }
    bytes = response.body;
    return {};
}

std::string UpdateInstaller::replaceFile(const std::filesystem::path& target,
                                         std::string_view bytes) {
    struct stat old {};
    if (::stat(target.c_str(), &old) != 0) {
        return systemError("cannot read " + target.string());
    }
    std::string temporary = target.string() + ".update-XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        return systemError("cannot create a file beside " + target.string());
    }
    std::string failure;
    for (std::size_t written = 0; written < bytes.size() && failure.empty();) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno != EINTR) {
            failure = systemError("cannot write " + temporary);
        } else if (n > 0) {
            written += static_cast<std::size_t>(n);
        }
    }
    if (failure.empty() && ::fchmod(fd, old.st_mode & 07777) != 0) {
        failure = systemError("cannot set the permissions of " + temporary);
    }
    if (failure.empty() && ::fsync(fd) != 0) {
        failure = systemError("cannot flush " + temporary);
    }
    if (::close(fd) != 0 && failure.empty()) {
        failure = systemError("cannot close " + temporary);
    }
    if (failure.empty() && ::rename(temporary.c_str(), target.c_str()) != 0) {
        failure = systemError("cannot replace " + target.string());
    }
    if (!failure.empty()) {
        ::unlink(temporary.c_str());
        return failure;
    }
    // Make the rename itself durable.
    const int dir = ::open(target.parent_path().c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return {};
}

UpdateOutcome UpdateInstaller::run(const UpdateRequest& request) {
    UpdateOutcome outcome;
    const std::filesystem::path program = findProgram(request.programName);
    auto fail = [&](std::string reason) {
        outcome.reason =
            request.title + " " + request.newVersion + " was not installed: " + std::move(reason);
        environment_->report(outcome.reason);
        if (!program.empty()) {
            environment_->waitForProgramExit();
            environment_->startProgram(program);
        }
        return outcome;
    };
    if (program.empty()) {
        return fail("no program " + request.programName + " in " + programDir_.string());
    }
    std::string bytes;
    std::string signatureText;
    if (auto error = fetch(request.address, bytes); !error.empty()) {
        return fail(error);
    }
    if (auto error = fetch(request.address + ".sig", signatureText); !error.empty()) {
        return fail(error);
    }
    const std::string signature = signatureFromText(signatureText);
    if (signature.empty() || !ed25519Verify(publicKey_, bytes, signature)) {
        return fail("the download is not signed by the maker");
    }
    if (!looksExecutable(bytes)) {
        return fail("the download is not a program");
    }
    environment_->waitForProgramExit();
    if (auto error = replaceFile(program, bytes); !error.empty()) {
        return fail(error);
    }
    outcome.installed = true;
    environment_->startProgram(program);
    return outcome;
}

}  // namespace pk10
