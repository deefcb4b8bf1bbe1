#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace pk10 {

// The published RC4 stream cipher; the same call encrypts and decrypts. Only the first 256
// key bytes take part, as in the cipher's key schedule; an empty key leaves the data as it is
// (no caller passes one).
std::string rc4(std::string_view key, std::string_view data);

using Md5Digest = std::array<std::uint8_t, 16>;
Md5Digest md5(std::string_view data);
// The digest as 32 lower-case hexadecimal digits.
std::string md5Hex(std::string_view data);

// Ed25519 signatures of update files. Keys and signatures are raw bytes: a private key is a
// 32-byte seed, a public key 32 bytes, a signature 64 bytes.
inline constexpr std::size_t kEd25519KeySize = 32;
inline constexpr std::size_t kEd25519SignatureSize = 64;
// The public key of a private key; empty when the private key has the wrong size.
std::string ed25519PublicKey(std::string_view privateKey);
// Empty when the private key has the wrong size.
std::string ed25519Sign(std::string_view privateKey, std::string_view message);
bool ed25519Verify(std::string_view publicKey, std::string_view message,
                   std::string_view signature);

}  // namespace pk10
