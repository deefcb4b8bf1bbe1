#include "service/curl_transport.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>
#include <thread>

#include "service/service_request.h"
#include "support/counting_pump.h"

namespace pk10 {
namespace {

// Accepts one connection on 127.0.0.1, keeps the raw request bytes and answers `reply`.
class OneShotServer {
public:
    explicit OneShotServer(std::string reply) : reply_(std::move(reply)) {
        listener_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(listener_, 1);
        socklen_t length = sizeof address;
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~OneShotServer() {
        thread_.join();
        close(listener_);
    }

    std::string url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/draw"; }
    // Valid once the transport call has returned.
    const std::string& request() const { return request_; }

private:
    void serve() {
        const int connection = accept(listener_, nullptr, nullptr);
        if (connection < 0) {
            return;
        }
        char buffer[4096];
        std::size_t headerEnd = std::string::npos;
        std::size_t contentLength = 0;
        while (true) {
            const ssize_t got = recv(connection, buffer, sizeof buffer, 0);
            if (got <= 0) {
                break;
            }
            request_.append(buffer, static_cast<std::size_t>(got));
            if (headerEnd == std::string::npos) {
                headerEnd = request_.find("\r\n\r\n");
                if (headerEnd != std::string::npos) {
                    const auto at = request_.find("Content-Length: ");
                    if (at != std::string::npos && at < headerEnd) {
                        contentLength = std::stoul(request_.substr(at + 16));
                    }
                }
            }
            if (headerEnd != std::string::npos &&
                request_.size() >= headerEnd + 4 + contentLength) {
                break;
            }
        }
        send(connection, reply_.data(), reply_.size(), 0);
        close(connection);
    }

    std::string reply_;
    int listener_ = -1;
    int port_ = 0;
    std::thread thread_;
    std::string request_;
};

TEST(CurlTransport, PostsExactlyTheProtocolHeadersInOrder) {
    OneShotServer server(
        "HTTP/1.1 500 Internal Server Error\r\nContent-Length: 4\r\nSet-Cookie: PK10SID=abc; "
        "path=/\r\nConnection: close\r\n\r\nbody");
    testing::CountingPump pump;
    CurlTransport transport(pump);
    HttpCookies cookies{{"old", "1"}};
    const std::string body = "DATA=" + std::string(3000, 'A');  // large enough for Expect:
    const HttpResponse response =
        transport.post(server.url(), ServiceRequest::postHeaders(), body, cookies);

    EXPECT_TRUE(response.received);
    EXPECT_EQ(response.status, 500);
    EXPECT_EQ(response.body, "body");
    EXPECT_EQ(cookies, (HttpCookies{{"old", "1"}, {"PK10SID", "abc"}}));

    const std::string& request = server.request();
    const std::string expectedHeaders =
        "Accept: */*\r\n"
        "Accept-Language: zh-CN\r\n"
        "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)\r\n"
        "Content-Type: application/x-www-form-urlencoded\r\n"
        "Accept-Encoding: deflate\r\n"
        "Connection: Keep-Alive\r\n"
        "Cache-Control: no-cache\r\n";
    EXPECT_NE(request.find(expectedHeaders), std::string::npos) << request;
    EXPECT_EQ(request.rfind("POST /draw HTTP/1.1\r\n", 0), 0U) << request;
    // Besides the seven, only what HTTP needs and the call's cookie.
    std::size_t lines = 0;
    for (std::size_t at = request.find("\r\n"); at < request.find("\r\n\r\n");
         at = request.find("\r\n", at + 2)) {
        ++lines;
    }
    EXPECT_EQ(lines, 7U + 3U) << request;  // Host, Cookie, Content-Length
    EXPECT_NE(request.find("\r\nHost: 127.0.0.1:"), std::string::npos);
    EXPECT_NE(request.find("\r\nCookie: old=1\r\n"), std::string::npos);
    EXPECT_NE(request.find("\r\nContent-Length: 3005\r\n"), std::string::npos);
    EXPECT_EQ(request.find("Expect:"), std::string::npos);
    EXPECT_EQ(request.substr(request.find("\r\n\r\n") + 4), body);
}

TEST(CurlTransport, NoServiceMeansNoResponse) {
    testing::CountingPump pump;
    CurlTransport transport(pump);
    HttpCookies cookies;
    EXPECT_FALSE(transport.post("http://127.0.0.1:1/", {}, "DATA=", cookies).received);
    EXPECT_FALSE(transport.get("").received);
}

}  // namespace
}  // namespace pk10
