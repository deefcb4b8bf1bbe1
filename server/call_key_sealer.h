#pragma once

#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>

#include "service/clock.h"

namespace pk10 {

// Issues call keys as sealed tokens (ChaCha20-Poly1305 over the key and its expiry), so the
// service keeps no table of keys: the cookie carries them. A token opens for one request only;
// the tokens already used are remembered until they expire.
class CallKeySealer {
public:
    static constexpr std::int64_t kLifetimeSeconds = 60;
    static constexpr std::size_t kKeyLength = 16;

    enum class OpenStatus { Ok, Missing, Invalid, Expired, Reused };
    struct Opened {
        OpenStatus status = OpenStatus::Missing;
        std::string callKey;
    };

    // `secret` of any length is hashed into the AEAD key.
    CallKeySealer(std::string_view secret, const Clock& clock);

    // A fresh call key and the token that carries it.
    struct Issued {
        std::string callKey;
        std::string token;
    };
    Issued issue();
    // The token sealed for a given key (tests and `issue`).
    std::string seal(std::string_view callKey, std::int64_t expiresAt);

    // Opens a token and marks it used; the second opening of a token reports Reused.
    Opened open(std::string_view token);

    // Tokens remembered as used (expired ones are dropped as new ones arrive).
    std::size_t usedCount() const;

private:
    std::uint8_t key_[32];
    const Clock& clock_;
    mutable std::mutex mutex_;
    std::unordered_set<std::string> used_;
    std::deque<std::pair<std::int64_t, std::string>> usedByExpiry_;
};

}  // namespace pk10
