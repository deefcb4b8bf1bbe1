#include "service/curl_transport.h"

#include <curl/curl.h>

#include <cctype>
#include <chrono>
#include <memory>

namespace pk10 {
namespace {

constexpr int kPumpIntervalMs = 20;

struct CurlGlobal {
    CurlGlobal() { curl_global_init(CURL_GLOBAL_DEFAULT); }
    ~CurlGlobal() { curl_global_cleanup(); }
};

void ensureCurlGlobal() {
    static CurlGlobal global;
}

struct EasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct MultiDeleter {
    void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};
struct ListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using EasyPtr = std::unique_ptr<CURL, EasyDeleter>;
using MultiPtr = std::unique_ptr<CURLM, MultiDeleter>;
using ListPtr = std::unique_ptr<curl_slist, ListDeleter>;

struct Transfer {
    std::string body;
    HttpCookies* cookies = nullptr;
};

size_t onBody(char* data, size_t size, size_t count, void* user) {
    auto* transfer = static_cast<Transfer*>(user);
    transfer->body.append(data, size * count);
    return size * count;
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r' ||
                             text.back() == '\n')) {
        text.remove_suffix(1);
    }
    return text;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        const auto a = static_cast<unsigned char>(text[i]);
        const auto b = static_cast<unsigned char>(prefix[i]);
        if (std::tolower(a) != std::tolower(b)) {
            return false;
        }
    }
    return true;
}

// Keeps "name=value" of every Set-Cookie header; the attributes do not matter for cookies that
// live for one call to one URL.
size_t onHeader(char* data, size_t size, size_t count, void* user) {
    auto* transfer = static_cast<Transfer*>(user);
    const std::string_view line(data, size * count);
    constexpr std::string_view kSetCookie = "Set-Cookie:";
    if (transfer->cookies != nullptr && startsWithNoCase(line, kSetCookie)) {
        std::string_view pair = trim(line.substr(kSetCookie.size()));
        pair = pair.substr(0, pair.find(';'));
        const auto equals = pair.find('=');
        if (equals != std::string_view::npos) {
            std::string name(trim(pair.substr(0, equals)));
            std::string value(trim(pair.substr(equals + 1)));
            if (!name.empty()) {
                HttpCookies& cookies = *transfer->cookies;
                bool replaced = false;
                for (auto& [oldName, oldValue] : cookies) {
                    if (oldName == name) {
                        oldValue = value;
                        replaced = true;
                    }
                }
                if (!replaced) {
                    cookies.emplace_back(std::move(name), std::move(value));
                }
            }
        }
    }
    return size * count;
}

EasyPtr newEasy(const std::string& url, Transfer& transfer) {
    ensureCurlGlobal();
    EasyPtr easy(curl_easy_init());
    if (!easy) {
        return easy;
    }
    CURL* e = easy.get();
    curl_easy_setopt(e, CURLOPT_URL, url.c_str());
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT, CurlTransport::kConnectTimeoutSeconds);
    curl_easy_setopt(e, CURLOPT_TIMEOUT, CurlTransport::kRequestTimeoutSeconds);
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &onBody);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, &onHeader);
    curl_easy_setopt(e, CURLOPT_HEADERDATA, &transfer);
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
    return easy;
}

}  // namespace

CurlTransport::CurlTransport(EventPump& pump) : pump_(pump) {}

// Runs one transfer on a multi handle, letting the pump run while it waits.
static HttpResponse perform(CURL* easy, EventPump& pump, Transfer& transfer) {
    HttpResponse response;
    MultiPtr multi(curl_multi_init());
    if (!multi || curl_multi_add_handle(multi.get(), easy) != CURLM_OK) {
        return response;
    }
    using Clock = std::chrono::steady_clock;
    auto lastPump = Clock::now();
    int running = 1;
    while (running > 0) {
        if (curl_multi_perform(multi.get(), &running) != CURLM_OK) {
            break;
        }
        if (running == 0) {
            break;
        }
        curl_multi_poll(multi.get(), nullptr, 0, kPumpIntervalMs, nullptr);
        if (Clock::now() - lastPump >= std::chrono::milliseconds(kPumpIntervalMs)) {
            pump.pumpOnce();
            lastPump = Clock::now();
        }
    }
    CURLcode result = CURLE_FAILED_INIT;
    int pending = 0;
    while (CURLMsg* message = curl_multi_info_read(multi.get(), &pending)) {
        if (message->msg == CURLMSG_DONE && message->easy_handle == easy) {
            result = message->data.result;
        }
    }
    curl_multi_remove_handle(multi.get(), easy);
    if (result == CURLE_OK) {
        response.received = true;
        curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &response.status);
        response.body = std::move(transfer.body);
    }
    return response;
}

HttpResponse CurlTransport::post(const std::string& url, const std::vector<HttpHeader>& headers,
                                 std::string_view body, HttpCookies& cookies) {
    Transfer transfer;
    transfer.cookies = &cookies;
    EasyPtr easy = newEasy(url, transfer);
    if (!easy) {
        return {};
    }
    curl_slist* list = nullptr;
    for (const auto& [name, value] : headers) {
        list = curl_slist_append(list, (name + ": " + value).c_str());
    }
    // curl would otherwise add "Expect: 100-continue" for large bodies.
    list = curl_slist_append(list, "Expect:");
    ListPtr headerList(list);
    std::string cookieText;
    for (const auto& [name, value] : cookies) {
        if (!cookieText.empty()) {
            cookieText += "; ";
        }
        cookieText += name + "=" + value;
    }
    CURL* e = easy.get();
    curl_easy_setopt(e, CURLOPT_HTTPHEADER, headerList.get());
    if (!cookieText.empty()) {
        curl_easy_setopt(e, CURLOPT_COOKIE, cookieText.c_str());
    }
    // The service may answer with deflate, as the headers allow; the body is handed back decoded.
    curl_easy_setopt(e, CURLOPT_ACCEPT_ENCODING, "deflate");
    curl_easy_setopt(e, CURLOPT_POST, 1L);
    curl_easy_setopt(e, CURLOPT_POSTFIELDS, body.data());
    curl_easy_setopt(e, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    return perform(e, pump_, transfer);
}

HttpResponse CurlTransport::get(const std::string& url) {
    Transfer transfer;
    EasyPtr easy = newEasy(url, transfer);
    if (!easy) {
        return {};
    }
    return perform(easy.get(), pump_, transfer);
}

}  // namespace pk10
