#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pk10 {

using HttpHeader = std::pair<std::string, std::string>;

// Cookies kept for one service call: what the service set, sent back with the next request.
using HttpCookies = std::vector<std::pair<std::string, std::string>>;

struct HttpResponse {
    bool received = false;  // false: no response at all (connection failed, timed out)
    long status = 0;        // not examined by the protocol; kept for diagnostics
    std::string body;
};

// The HTTP exchanges of the service protocol. Synchronous: a call returns when the request has
// ended.
class HttpTransport {
public:
    virtual ~HttpTransport() = default;
    // Posts `body` with exactly `headers`, in order, plus what HTTP itself needs (Host,
    // Content-Length) and a Cookie header for `cookies`; cookies the response sets are added to
    // (or replace those of the same name in) `cookies`.
    virtual HttpResponse post(const std::string& url, const std::vector<HttpHeader>& headers,
                              std::string_view body, HttpCookies& cookies) = 0;
    // A plain GET; no headers prescribed.
    virtual HttpResponse get(const std::string& url) = 0;
};

}  // namespace pk10
