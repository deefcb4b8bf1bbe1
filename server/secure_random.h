#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace pk10 {

// Bytes from the kernel's CSPRNG (getrandom); call keys, token nonces and simulated draws
// must not be predictable from earlier ones.
std::string secureRandomBytes(std::size_t count);

// A uniform integer in [0, bound) without modulo bias; bound must be positive.
std::uint32_t secureRandomBelow(std::uint32_t bound);

// `length` characters from [0-9a-z].
std::string secureRandomKey(std::size_t length);

}  // namespace pk10
