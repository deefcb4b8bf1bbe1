#pragma once

#include <string>

namespace pk10 {

// Release keys and signatures for the updater. A key file holds the 32-byte Ed25519 private
// seed as 64 hex digits and a line break; KEY.pub beside it the public key the same way (what
// the updater is built to trust). A signature file FILE.sig holds the 64 signature bytes as 128
// hex digits and a line break (what the updater downloads next to FILE).
class ReleaseSigning {
public:
    // Writes a fresh key pair to `keyPath` (mode 0600) and `keyPath`.pub. Refuses to overwrite
    // an existing key file. False with a message on failure.
    static bool generateKey(const std::string& keyPath, std::string& error);
    // Signs the content of `filePath` with the key in `keyPath` and writes `filePath`.sig.
    static bool signFile(const std::string& keyPath, const std::string& filePath,
                         std::string& error);
    // The private seed in a key file's text; empty when the text is not 64 hex digits.
    static std::string privateKeyFromText(const std::string& text);
};

}  // namespace pk10
