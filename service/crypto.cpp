#include "service/crypto.h"

#include <nettle/arcfour.h>
#include <nettle/eddsa.h>
#include <nettle/md5.h>

#include <algorithm>

namespace pk10 {

std::string rc4(std::string_view key, std::string_view data) {
    std::string out(data);
    if (key.empty() || data.empty()) {
        return out;
    }
    arcfour_ctx ctx;
    arcfour_set_key(&ctx, std::min<std::size_t>(key.size(), ARCFOUR_MAX_KEY_SIZE),
                    reinterpret_cast<const std::uint8_t*>(key.data()));
    arcfour_crypt(&ctx, out.size(), reinterpret_cast<std::uint8_t*>(out.data()),
                  reinterpret_cast<const std::uint8_t*>(data.data()));
    return out;
}

Md5Digest md5(std::string_view data) {
    md5_ctx ctx;
    md5_init(&ctx);
    md5_update(&ctx, data.size(), reinterpret_cast<const std::uint8_t*>(data.data()));
    Md5Digest digest{};
    md5_digest(&ctx, digest.size(), digest.data());
    return digest;
}

std::string md5Hex(std::string_view data) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(32);
    for (const std::uint8_t byte : md5(data)) {
        hex.push_back(kDigits[byte >> 4]);
        hex.push_back(kDigits[byte & 0x0F]);
    }
    return hex;
}

namespace {

const std::uint8_t* bytes(std::string_view text) {
    return reinterpret_cast<const std::uint8_t*>(text.data());
}

}  // namespace

std::string ed25519PublicKey(std::string_view privateKey) {
    if (privateKey.size() != kEd25519KeySize) {
        return {};
    }
    std::string publicKey(kEd25519KeySize, '\0');
    ed25519_sha512_public_key(reinterpret_cast<std::uint8_t*>(publicKey.data()), bytes(privateKey));
    return publicKey;
}

std::string ed25519Sign(std::string_view privateKey, std::string_view message) {
    const std::string publicKey = ed25519PublicKey(privateKey);
    if (publicKey.empty()) {
        return {};
    }
    std::string signature(kEd25519SignatureSize, '\0');
    ed25519_sha512_sign(bytes(publicKey), bytes(privateKey), message.size(), bytes(message),
                        reinterpret_cast<std::uint8_t*>(signature.data()));
    return signature;
}

bool ed25519Verify(std::string_view publicKey, std::string_view message,
                   std::string_view signature) {
    return publicKey.size() == kEd25519KeySize && signature.size() == kEd25519SignatureSize &&
           ed25519_sha512_verify(bytes(publicKey), message.size(), bytes(message),
                                 bytes(signature)) == 1;
}

}  // namespace pk10
