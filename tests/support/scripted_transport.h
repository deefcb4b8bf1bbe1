#pragma once

#include <deque>
#include <string>
#include <vector>

#include "service/http_transport.h"

namespace pk10::testing {

// An HttpTransport that answers from a script and records what was sent.
class ScriptedTransport final : public HttpTransport {
public:
    struct Sent {
        std::string url;
        std::vector<HttpHeader> headers;
        std::string body;
        HttpCookies cookies;
    };

    HttpResponse post(const std::string& url, const std::vector<HttpHeader>& headers,
                      std::string_view body, HttpCookies& cookies) override {
        sent.push_back({url, headers, std::string(body), cookies});
        return next();
    }
    HttpResponse get(const std::string& url) override {
        gets.push_back(url);
        return next();
    }

    void answer(std::string body) { script.push_back({true, 200, std::move(body)}); }
    void noResponse() { script.push_back({}); }

    std::deque<HttpResponse> script;
    std::vector<Sent> sent;
    std::vector<std::string> gets;

private:
    HttpResponse next() {
        if (script.empty()) {
            return {};
        }
        HttpResponse response = script.front();
        script.pop_front();
        return response;
    }
};

}  // namespace pk10::testing
