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

}  // namespace pk10
