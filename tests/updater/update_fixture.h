#pragma once

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "service/codec.h"
#include "service/crypto.h"
#include "tests/support/temporary_folder.h"

namespace pk10::testing {

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

inline void writeFile(const std::filesystem::path& path, const std::string& content,
                      mode_t mode = 0644) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
    ::chmod(path.c_str(), mode);
}

// The private half of the test key the test updater trusts.
inline std::string testPrivateKey() {
    std::string hex = readFile(PK10_SOURCE_DIR "/tests/updater/keys/test.key");
    hex.erase(hex.find_last_not_of("\r\n ") + 1);
    return hexToBytes(hex);
}

inline std::string signatureText(const std::string& bytes) {
    return bytesToHex(ed25519Sign(testPrivateKey(), bytes)) + "\n";
}

// A "program" that records that it ran by writing `word` into `marker`.
inline std::string scriptProgram(const std::filesystem::path& marker, const std::string& word) {
    return "#!/bin/sh\necho " + word + " > '" + marker.string() + "'\n";
}

}  // namespace pk10::testing
