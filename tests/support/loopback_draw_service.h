#pragma once

#include <httplib.h>

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "service/codec.h"
#include "service/crypto.h"
#include "service/json_value.h"
#include "service/protocol_keys.h"

namespace pk10::testing {

// A small stand-in for the draw service on a free 127.0.0.1 port, following the protocol: it
// issues call keys bound to a PK10SID cookie, decrypts function requests and answers them with
// what the test's handler returns. Each step can be told to misbehave.
class LoopbackDrawService {
public:
    // What the test sees of one function request.
    struct Call {
        std::string funname;
        std::string rand;
        std::string appid;
        std::vector<std::string> params;
        std::string bodyJson;
    };
    // What the handler answers: a raw body, or an envelope built by the helpers below.
    using Handler = std::function<std::string(const Call&)>;

    // How the call-key step or the function step answers.
    enum class Mode { Normal, EmptyBody, NotJson, ServiceError };

    LoopbackDrawService() {
        server_.Post("/draw", [this](const httplib::Request& request, httplib::Response& response) {
            handle(request, response);
        });
        server_.Get("/newphase", [this](const httplib::Request&, httplib::Response& response) {
            std::lock_guard lock(mutex_);
            response.set_content(newphaseBody, "text/plain");
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        // stop() does nothing until the server runs, so wait for that before anyone may stop it.
        while (port_ > 0 && !server_.is_running()) {
            std::this_thread::yield();
        }
    }
    ~LoopbackDrawService() {
        server_.stop();
        thread_.join();
    }
    LoopbackDrawService(const LoopbackDrawService&) = delete;
    LoopbackDrawService& operator=(const LoopbackDrawService&) = delete;

    std::string baseUrl() const { return "http://127.0.0.1:" + std::to_string(port_); }
    std::string drawUrl() const { return baseUrl() + "/draw"; }
    std::string newphaseUrl() const { return baseUrl() + "/newphase"; }

    static std::string envelope(std::string_view errcode, std::string_view msg,
                                std::string_view data) {
        JsonValue reply;
        reply.reset();
        reply.setMember("errcode", errcode);
        reply.setMember("msg", msg);
        reply.setMember("data", data);
        return reply.toText();
    }
    // The reply data layers: hex(RC4 protocol key(hex(RC4 reply key(text)))).
    static std::string encryptData(std::string_view text, std::string_view rand) {
        const std::string inner = bytesToHex(rc4(replyKey(std::stoi(std::string(rand))), text));
        return bytesToHex(rc4(protocolKey(), inner));
    }
    // A success envelope with the encrypted JSON payload.
    static std::string okEncrypted(const Call& call, std::string_view payloadJson) {
        return envelope("0", "", encryptData(payloadJson, call.rand));
    }

    // A successful "init" reply pointing the client at this stand-in.
    std::string initReply(const Call& call, std::string_view version,
                          std::string_view advert) const {
        JsonValue settings;
        settings.reset();
        settings.setMember("drawurl", drawUrl());
        settings.setMember("newphase", newphaseUrl());
        settings.setMember("advert1", advert);
        settings.setMember("version", version);
        return okEncrypted(call, settings.toText());
    }

    // Set before the calls; read after them.
    Handler handler = [](const Call&) { return envelope("0", "", ""); };
    Mode callKeyMode = Mode::Normal;
    Mode functionMode = Mode::Normal;
    int failFirstCalls = 0;  // the first N function requests answer as functionMode
    std::string newphaseBody = "20170426001";

    std::vector<Call> calls() const {
        std::lock_guard lock(mutex_);
        return calls_;
    }
    int keyRequests() const { return keyRequests_; }
    int cookieMismatches() const { return cookieMismatches_; }

private:
    static std::string urlDecode(std::string_view text) {
        std::string out;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '%' && i + 2 < text.size()) {
                out += static_cast<char>(parseNumber(text.substr(i + 1, 2), 0) & 0xFF);
                i += 2;
            } else {
                out += text[i];
            }
        }
        return out;
    }

    static bool answerAs(Mode mode, httplib::Response& response) {
        switch (mode) {
            case Mode::Normal:
                return false;
            case Mode::EmptyBody:
                response.set_content("", "text/plain");
                return true;
            case Mode::NotJson:
                response.status = 404;
                response.set_content("<html><body>404 Not Found</body></html>", "text/html");
                return true;
            case Mode::ServiceError:
                response.set_content(envelope("1001", "应用不存在", ""), "application/json");
                return true;
        }
        return false;
    }

    void handle(const httplib::Request& request, httplib::Response& response) {
        constexpr std::string_view kKeyRequest = "DATA=GETRAND?";
        constexpr std::string_view kData = "DATA=";
        const std::string_view body = request.body;
        std::lock_guard lock(mutex_);
        if (body.substr(0, kKeyRequest.size()) == kKeyRequest) {
            ++keyRequests_;
            if (answerAs(callKeyMode, response)) {
                return;
            }
            const std::string session = "s" + std::to_string(keyRequests_);
            const std::string key = "key-" + std::to_string(keyRequests_ * 7777);
            keys_[session] = key;
            response.set_header("Set-Cookie", "PK10SID=" + session + "; path=/; HttpOnly");
            response.set_content(envelope("0", "", bytesToHex(rc4(protocolKey(), key))),
                                 "application/json");
            return;
        }
        if (body.substr(0, kData.size()) != kData) {
            response.set_content(envelope("9", "bad request", ""), "application/json");
            return;
        }
        std::string session;
        const std::string cookie = request.get_header_value("Cookie");
        if (const auto at = cookie.find("PK10SID="); at != std::string::npos) {
            session = cookie.substr(at + 8, cookie.find(';', at) - at - 8);
        }
        const auto key = keys_.find(session);
        if (key == keys_.end()) {
            ++cookieMismatches_;
            response.set_content(envelope("2", "会话无效", ""), "application/json");
            return;
        }
        const std::string inner = rc4(key->second, hexToBytes(body.substr(kData.size())));
        keys_.erase(key);
        Call call;
        call.bodyJson = urlDecode(rc4(protocolKey(), hexToBytes(inner)));
        JsonValue json;
        JsonArray params;
        json.parse(call.bodyJson);
        call.funname = json.memberText("funname");
        call.rand = json.memberText("rand");
        call.appid = json.memberText("appid");
        if (json.memberValue("param", params)) {
            for (int i = 1; i <= params.size(); ++i) {
                call.params.push_back(params.elementText(i));
            }
        }
        calls_.push_back(call);
        if (static_cast<int>(calls_.size()) <= failFirstCalls ||
            (failFirstCalls == 0 && functionMode != Mode::Normal)) {
            if (answerAs(functionMode, response)) {
                return;
            }
        }
        response.set_content(handler(call), "application/json");
    }

    httplib::Server server_;
    int port_ = 0;
    std::thread thread_;
    mutable std::mutex mutex_;
    std::map<std::string, std::string> keys_;
    std::vector<Call> calls_;
    std::atomic<int> keyRequests_{0};
    std::atomic<int> cookieMismatches_{0};
};

}  // namespace pk10::testing
