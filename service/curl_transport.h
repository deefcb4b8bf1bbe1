#pragma once

#include "service/event_pump.h"
#include "service/http_transport.h"

namespace pk10 {

// HttpTransport over libcurl. While a request is in flight it lets the event pump run about
// every 20 ms, so a window keeps painting; the caller gets control back when the request ends.
class CurlTransport final : public HttpTransport {
public:
    explicit CurlTransport(EventPump& pump);

    HttpResponse post(const std::string& url, const std::vector<HttpHeader>& headers,
                      std::string_view body, HttpCookies& cookies) override;
    HttpResponse get(const std::string& url) override;

    static constexpr long kConnectTimeoutSeconds = 5;
    static constexpr long kRequestTimeoutSeconds = 15;

private:
    EventPump& pump_;
};

}  // namespace pk10
