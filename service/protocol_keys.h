#pragma once

#include <cstdint>
#include <string>

namespace pk10 {

// The fixed key the client and the service share: inner layer of every request, outer layer of
// reply data and of the call-key reply. Assembled at run time so it never sits in the binary as
// one text.
std::string protocolKey();

// A call's reply data is keyed with the decimal text of nonce x this factor.
inline constexpr std::int32_t kReplyKeyFactor = 7919;

std::string replyKey(std::int32_t nonce);

}  // namespace pk10
