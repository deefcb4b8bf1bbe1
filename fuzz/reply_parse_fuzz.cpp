// A service reply as the client reads it: repaired, parsed, its envelope read, the data decoded.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "service/codec.h"
#include "service/json_value.h"
#include "service/service_request.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    pk10::JsonReply reply;
    if (reply.parse(pk10::repairUtf8(bytes))) {
        (void)reply.errcode();
        (void)reply.msg();
        (void)reply.isOk();
        (void)reply.toText();
        std::vector<std::string> names;
        std::vector<std::string> values;
        std::vector<int> types;
        reply.members(names, values, types);
        const std::string payload = reply.memberText("data");
        pk10::JsonReply decoded;
        decoded.parse(pk10::ServiceRequest::decryptData(payload, 1234));
        (void)decoded.memberText("data");
    }
    // Raw bytes go straight to the parser too (the call-key reply is not repaired).
    pk10::JsonValue raw;
    if (raw.parse(bytes)) {
        (void)raw.toText();
    }
    return 0;
}
