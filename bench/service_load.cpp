// Full-call load on a running pk10-service. Each thread makes "newestdraw" calls: a call-key
// exchange plus the encrypted call, with the reply decrypted and checked.
//   client mode: the desktop program's ServiceClient over libcurl, a new connection per call;
//   keepalive mode: the same two requests built with the client's own codec, on one kept-alive
//   connection per thread, so the figure is the service's and not the TCP handshakes'. Each
//   request leaves in one write, as libcurl sends a small POST (httplib's client writes
//   headers and body apart, which doubles the service's wake-ups for the same bytes).
// Usage: pk10-service-load INIT_URL [THREADS] [SECONDS] [client|keepalive];
// prints "calls/s N failures N".
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
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

bool sameLetters(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// One kept-alive HTTP/1.1 connection sending the requests httplib's client sends, header for
// header, each in one write. Reconnects after the service closes (it does every 1000 requests).
class KeptAliveConnection {
public:
    struct Reply {
        std::string setCookie;
        std::string body;
    };

    KeptAliveConnection(std::string host, int port) : host_(std::move(host)), port_(port) {}
    ~KeptAliveConnection() { disconnect(); }
    KeptAliveConnection(const KeptAliveConnection&) = delete;
    KeptAliveConnection& operator=(const KeptAliveConnection&) = delete;

    std::optional<Reply> post(const std::string& path, const std::string& body,
                              const std::string& cookie) {
        if (sock_ < 0 && !connectNow()) {
            return std::nullopt;
        }
        std::string request = "POST " + path + " HTTP/1.1\r\nAccept: */*\r\nContent-Length: " +
                              std::to_string(body.size()) +
                              "\r\nContent-Type: application/x-www-form-urlencoded\r\n";
        if (!cookie.empty()) {
            request += "Cookie: " + cookie + "\r\n";
        }
        request += "Host: " + host_ + ":" + std::to_string(port_) +
                   "\r\nUser-Agent: cpp-httplib/0.11.4\r\n\r\n" + body;
        if (!sendAll(request)) {
            disconnect();
            return std::nullopt;
        }
        std::optional<Reply> reply = readReply();
        if (!reply || closeAfter_) {
            disconnect();
        }
        return reply;
    }

private:
    bool connectNow() {
        sock_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(port_));
        const int one = 1;
        if (sock_ < 0 || ::inet_pton(AF_INET, host_.c_str(), &address.sin_addr) != 1 ||
            ::setsockopt(sock_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one) != 0 ||
            ::connect(sock_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
            disconnect();
            return false;
        }
        buffer_.clear();
        return true;
    }
    void disconnect() {
        if (sock_ >= 0) {
            ::close(sock_);
        }
        sock_ = -1;
    }
    bool sendAll(std::string_view data) {
        while (!data.empty()) {
            const ssize_t n = ::send(sock_, data.data(), data.size(), MSG_NOSIGNAL);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                return false;
            }
            data.remove_prefix(static_cast<std::size_t>(n));
        }
        return true;
    }
    bool receive() {
        char chunk[16 * 1024];
        for (;;) {
            const ssize_t n = ::recv(sock_, chunk, sizeof chunk, 0);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                return false;
            }
            buffer_.append(chunk, static_cast<std::size_t>(n));
            return true;
        }
    }
    std::optional<Reply> readReply() {
        std::size_t headerEnd = 0;
        while ((headerEnd = buffer_.find("\r\n\r\n")) == std::string::npos) {
            if (!receive()) {
                return std::nullopt;
            }
        }
        Reply reply;
        std::size_t length = 0;
        closeAfter_ = false;
        const std::string_view head(buffer_.data(), headerEnd);
        if (!head.starts_with("HTTP/1.1 200")) {
            return std::nullopt;
        }
        for (std::size_t at = head.find("\r\n"); at != std::string_view::npos;) {
            const std::size_t next = head.find("\r\n", at + 2);
            const std::string_view line = head.substr(at + 2, next - (at + 2));
            at = next;
            const std::size_t colon = line.find(':');
            if (colon == std::string_view::npos) {
                continue;
            }
            const std::string_view name = line.substr(0, colon);
            std::string_view value = line.substr(colon + 1);
            while (!value.empty() && value.front() == ' ') {
                value.remove_prefix(1);
            }
            if (sameLetters(name, "Content-Length")) {
                length = std::stoul(std::string(value));
            } else if (sameLetters(name, "Set-Cookie")) {
                reply.setCookie = value;
            } else if (sameLetters(name, "Connection")) {
                closeAfter_ = sameLetters(value, "close");
            }
        }
        const std::size_t bodyStart = headerEnd + 4;
        while (buffer_.size() < bodyStart + length) {
            if (!receive()) {
                return std::nullopt;
            }
        }
        reply.body = buffer_.substr(bodyStart, length);
        buffer_.erase(0, bodyStart + length);
        return reply;
    }

    std::string host_;
    int port_;
    int sock_ = -1;
    std::string buffer_;
    bool closeAfter_ = false;
};

// One full "newestdraw" call on a kept-alive connection; true when the decrypted line has
// eight fields.
bool keepAliveCall(KeptAliveConnection& http, const std::string& path, int nonce) {
    const auto keyReply = http.post(path, "DATA=GETRAND?1500000000", {});
    if (!keyReply) {
        return false;
    }
    pk10::JsonReply reply;
    if (!reply.parse(keyReply->body) || !reply.isOk()) {
        return false;
    }
    const std::string key =
        pk10::rc4(pk10::protocolKey(), pk10::hexToBytes(reply.memberText("data")));
    const std::string& cookie = keyReply->setCookie;
    const std::string json = R"({"rand":")" + std::to_string(nonce) +
                             R"(","funname":"newestdraw","appid":"1112","param":[]})";
    const auto callReply =
        http.post(path, "DATA=" + pk10::ServiceRequest::encryptBody(pk10::urlEscape(json), key),
                  cookie.substr(0, cookie.find(';')));
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
                // http://HOST:PORT/PATH
                const std::size_t hostEnd = initUrl.find('/', 7);
                const std::size_t colon = initUrl.rfind(':', hostEnd);
                KeptAliveConnection http(initUrl.substr(7, colon - 7),
                                         std::stoi(initUrl.substr(colon + 1, hostEnd - colon - 1)));
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
