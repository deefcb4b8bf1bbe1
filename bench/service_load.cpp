// Full-call load on a running pk10-service. Each thread makes "newestdraw" calls: a call-key
// exchange plus the encrypted call, with the reply decrypted and checked.
//   client mode: the desktop program's ServiceClient over libcurl, a new connection per call;
//   keepalive mode: the same two requests built with the client's own codec, on one kept-alive
//   connection per thread, so the figure is the service's and not the TCP handshakes'.
// Usage: pk10-service-load INIT_URL [THREADS] [SECONDS] [client|keepalive];
// prints "calls/s N failures N".
#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "service/codec.h"
#include "service/crypto.h"
#include "service/curl_transport.h"
#include "service/json_value.h"
#include "service/protocol_keys.h"
#include "service/service_client.h"
#include "service/service_request.h"

namespace {

// One full "newestdraw" call on a kept-alive connection; true when the decrypted line has
// eight fields.
bool keepAliveCall(httplib::Client& http, const std::string& path, int nonce) {
    const auto keyReply =
        http.Post(path.c_str(), "DATA=GETRAND?1500000000", "application/x-www-form-urlencoded");
    if (!keyReply) {
        return false;
    }
    pk10::JsonReply reply;
    if (!reply.parse(keyReply->body) || !reply.isOk()) {
        return false;
    }
    const std::string key =
        pk10::rc4(pk10::protocolKey(), pk10::hexToBytes(reply.memberText("data")));
    const std::string cookie = keyReply->get_header_value("Set-Cookie");
    const std::string json = R"({"rand":")" + std::to_string(nonce) +
                             R"(","funname":"newestdraw","appid":"1112","param":[]})";
    httplib::Headers headers{{"Cookie", cookie.substr(0, cookie.find(';'))}};
    const auto callReply =
        http.Post(path.c_str(), headers,
                  "DATA=" + pk10::ServiceRequest::encryptBody(pk10::urlEscape(json), key),
                  "application/x-www-form-urlencoded");
    if (!callReply || !reply.parse(callReply->body) || !reply.isOk()) {
        return false;
    }
    pk10::JsonValue payload;
    if (!payload.parse(pk10::ServiceRequest::decryptData(reply.memberText("data"), nonce))) {
        return false;
    }
    const std::string line = payload.memberText("data");
    return std::count(line.begin(), line.end(), '|') == 14;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: pk10-service-load INIT_URL [THREADS] [SECONDS]\n");
        return 2;
    }
    const std::string initUrl = argv[1];
    const int threads = argc > 2 ? std::stoi(argv[2]) : 4;
    const int seconds = argc > 3 ? std::stoi(argv[3]) : 10;
    const bool keepAlive = argc > 4 && std::string(argv[4]) == "keepalive";

    std::atomic<long> calls{0};
    std::atomic<long> failures{0};
    std::atomic<bool> stop{false};
    std::vector<std::thread> workers;
    for (int i = 0; i < threads; ++i) {
        workers.emplace_back([&, i] {
            if (keepAlive) {
                const std::size_t hostEnd = initUrl.find('/', 7);
                httplib::Client http(initUrl.substr(0, hostEnd));
                http.set_keep_alive(true);
                http.set_tcp_nodelay(true);
                int nonce = i;
                while (!stop) {
                    nonce = (nonce + 7) % 10000;
                    if (keepAliveCall(http, initUrl.substr(hostEnd), nonce)) {
                        ++calls;
                    } else {
                        ++failures;
                    }
                }
                return;
            }
            pk10::NoEventPump pump;
            pk10::SystemClock clock;
            pk10::SystemUptime uptime;
            pk10::CurlTransport transport(pump);
            pk10::ServiceClient client(transport, clock, uptime, pump);
            if (!client.init(initUrl, 1112)) {
                std::fprintf(stderr, "init failed: %s\n", client.lastError().c_str());
                ++failures;
                return;
            }
            std::vector<std::string> fields;
            while (!stop) {
                if (client.newestDraw(fields) && fields.size() == 8) {
                    ++calls;
                } else {
                    ++failures;
                }
            }
        });
    }
    const auto start = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    stop = true;
    for (std::thread& worker : workers) {
        worker.join();
    }
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("calls/s %.0f failures %ld\n", static_cast<double>(calls) / elapsed,
                failures.load());
    return failures == 0 ? 0 : 1;
}
