#include "server/call_key_sealer.h"

#include <nettle/chacha-poly1305.h>
#include <nettle/sha2.h>

#include <cstring>

#include "server/request_decoder.h"
#include "server/secure_random.h"
#include "service/codec.h"

namespace pk10 {
namespace {

constexpr std::size_t kNonceSize = CHACHA_POLY1305_NONCE_SIZE;
constexpr std::size_t kTagSize = CHACHA_POLY1305_DIGEST_SIZE;
constexpr std::size_t kPlainSize = CallKeySealer::kKeyLength + 8;
constexpr std::size_t kSealedSize = kNonceSize + kPlainSize + kTagSize;
// Binds tokens to their use, so a token of another purpose sealed with the same secret fails.
constexpr std::string_view kAssociated = "PK10SID call key";

const std::uint8_t* bytesOf(std::string_view text) {
    return reinterpret_cast<const std::uint8_t*>(text.data());
}

}  // namespace

CallKeySealer::CallKeySealer(std::string_view secret, const Clock& clock) : clock_(clock) {
    sha256_ctx hash;
    sha256_init(&hash);
    sha256_update(&hash, secret.size(), bytesOf(secret));
    sha256_digest(&hash, sizeof key_, key_);
}

CallKeySealer::Issued CallKeySealer::issue() {
    Issued issued;
    issued.callKey = secureRandomKey(kKeyLength);
    issued.token = seal(issued.callKey, clock_.unixNow() + kLifetimeSeconds);
    return issued;
}

std::string CallKeySealer::seal(std::string_view callKey, std::int64_t expiresAt) {
    std::string plain(callKey.substr(0, kKeyLength));
    plain.resize(kKeyLength, '\0');
    for (int shift = 56; shift >= 0; shift -= 8) {
        plain += static_cast<char>((static_cast<std::uint64_t>(expiresAt) >> shift) & 0xFF);
    }
    std::string sealed = secureRandomBytes(kNonceSize);
    sealed.resize(kSealedSize);
    auto* out = reinterpret_cast<std::uint8_t*>(sealed.data());

    chacha_poly1305_ctx ctx;
    chacha_poly1305_set_key(&ctx, key_);
    chacha_poly1305_set_nonce(&ctx, out);
    chacha_poly1305_update(&ctx, kAssociated.size(), bytesOf(kAssociated));
    chacha_poly1305_encrypt(&ctx, kPlainSize, out + kNonceSize, bytesOf(plain));
    chacha_poly1305_digest(&ctx, kTagSize, out + kNonceSize + kPlainSize);
    return bytesToHex(sealed);
}

CallKeySealer::Opened CallKeySealer::open(std::string_view token) {
    Opened opened;
    if (token.empty()) {
        return opened;
    }
    opened.status = OpenStatus::Invalid;
    if (token.size() != kSealedSize * 2 || !isStrictHex(token)) {
        return opened;
    }
    const std::string sealed = strictHexToBytes(token);
    const auto* in = bytesOf(sealed);
    std::uint8_t plain[kPlainSize];
    std::uint8_t tag[kTagSize];

    chacha_poly1305_ctx ctx;
    chacha_poly1305_set_key(&ctx, key_);
    chacha_poly1305_set_nonce(&ctx, in);
    chacha_poly1305_update(&ctx, kAssociated.size(), bytesOf(kAssociated));
    chacha_poly1305_decrypt(&ctx, kPlainSize, plain, in + kNonceSize);
    chacha_poly1305_digest(&ctx, kTagSize, tag);
    if (std::memcmp(tag, in + kNonceSize + kPlainSize, kTagSize) != 0) {
        return opened;
    }

    std::uint64_t expiresAt = 0;
    for (std::size_t i = kKeyLength; i < kPlainSize; ++i) {
        expiresAt = (expiresAt << 8) | plain[i];
    }
    const std::int64_t now = clock_.unixNow();
    if (static_cast<std::int64_t>(expiresAt) <= now) {
        opened.status = OpenStatus::Expired;
        return opened;
    }

    // The nonce identifies the token: the rest is fixed by it and the secret.
    std::string id(sealed.substr(0, kNonceSize));
    {
        std::lock_guard lock(mutex_);
        while (!usedByExpiry_.empty() && usedByExpiry_.front().first <= now) {
            used_.erase(usedByExpiry_.front().second);
            usedByExpiry_.pop_front();
        }
        if (!used_.insert(id).second) {
            opened.status = OpenStatus::Reused;
            return opened;
        }
        // Expiries are issued in rising order, so the deque stays nearly sorted; a token
        // sealed earlier but used later only lingers a little longer.
        usedByExpiry_.emplace_back(static_cast<std::int64_t>(expiresAt), std::move(id));
    }
    opened.status = OpenStatus::Ok;
    opened.callKey.assign(reinterpret_cast<const char*>(plain), kKeyLength);
    return opened;
}

std::size_t CallKeySealer::usedCount() const {
    std::lock_guard lock(mutex_);
    return used_.size();
}

}  // namespace pk10
