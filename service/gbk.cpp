#include "service/gbk.h"

#include <iconv.h>

#include <cerrno>

namespace pk10 {
namespace {

std::optional<std::string> convert(const char* to, const char* from, std::string_view input) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return std::nullopt;
    }
    std::string out(input.size() * 2 + 16, '\0');
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    std::size_t used = 0;
    bool ok = true;
    while (inLeft > 0) {
        char* outPtr = out.data() + used;
        std::size_t outLeft = out.size() - used;
        const std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        used = out.size() - outLeft;
        if (rc != static_cast<std::size_t>(-1)) {
            continue;
        }
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
            continue;
        }
        ok = false;  // EILSEQ or EINVAL: a byte sequence the other side has no form for
        break;
    }
    iconv_close(cd);
    if (!ok) {
        return std::nullopt;
    }
    out.resize(used);
    return out;
}

}  // namespace

std::optional<std::string> utf8ToGbk(std::string_view utf8) {
    return convert("GBK", "UTF-8", utf8);
}

std::optional<std::string> gbkToUtf8(std::string_view gbk) {
    return convert("UTF-8", "GBK", gbk);
}

}  // namespace pk10
