#include "server/release_signing.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "server/secure_random.h"
#include "service/codec.h"
#include "service/crypto.h"

namespace pk10 {
namespace {

std::string lowerHex(std::string_view bytes) {
    std::string hex = bytesToHex(bytes);
    std::transform(hex.begin(), hex.end(), hex.begin(), [](char c) {
        return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    });
    return hex;
}

// Creates `path` with `mode` (never following or replacing an existing file when `exclusive`)
// and writes `content`; on failure nothing half-written is left behind.
bool writeNewFile(const std::string& path, const std::string& content, mode_t mode, bool exclusive,
                  std::string& error) {
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (exclusive ? O_EXCL : O_TRUNC);
    const int fd = ::open(path.c_str(), flags, mode);
    if (fd < 0) {
        error = "cannot create " + path + ": " + std::strerror(errno);
        return false;
    }
    std::size_t written = 0;
    bool ok = ::fchmod(fd, mode) == 0;
    while (ok && written < content.size()) {
        const ssize_t n = ::write(fd, content.data() + written, content.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        ok = n > 0;
        written += ok ? static_cast<std::size_t>(n) : 0;
    }
    ok = ::fsync(fd) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    if (!ok) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        ::unlink(path.c_str());
    }
    return ok;
}

bool readWholeFile(const std::string& path, std::string& content, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read " + path;
        return false;
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad()) {
        error = "cannot read " + path;
        return false;
    }
    content = buffer.str();
    return true;
}

}  // namespace

std::string ReleaseSigning::privateKeyFromText(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    const auto last = text.find_last_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return {};
    }
    const std::string hex = text.substr(first, last - first + 1);
    const bool allHex = std::all_of(hex.begin(), hex.end(), [](char c) {
        return std::isxdigit(static_cast<unsigned char>(c)) != 0;
    });
    if (!allHex || hex.size() != 2 * kEd25519KeySize) {
        return {};
    }
    return hexToBytes(hex);
}

bool ReleaseSigning::generateKey(const std::string& keyPath, std::string& error) {
    const std::string seed = secureRandomBytes(kEd25519KeySize);
    const std::string publicKey = ed25519PublicKey(seed);
    // The private key first and exclusively: an existing release key is never lost.
    return writeNewFile(keyPath, lowerHex(seed) + "\n", 0600, true, error) &&
           writeNewFile(keyPath + ".pub", lowerHex(publicKey) + "\n", 0644, false, error);
}

bool ReleaseSigning::signFile(const std::string& keyPath, const std::string& filePath,
                              std::string& error) {
    std::string keyText;
    std::string content;
    if (!readWholeFile(keyPath, keyText, error) || !readWholeFile(filePath, content, error)) {
        return false;
    }
    const std::string privateKey = privateKeyFromText(keyText);
    if (privateKey.empty()) {
        error = keyPath + " does not hold a private key (64 hex digits)";
        return false;
    }
    const std::string signature = ed25519Sign(privateKey, content);
    return writeNewFile(filePath + ".sig", lowerHex(signature) + "\n", 0644, false, error);
}

}  // namespace pk10
