// The real pk10-service on loopback ports, driven by the real client and by raw requests.
#include <gtest/gtest.h>
#include <httplib.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <regex>
#include <sstream>
#include <thread>

#include "server/request_decoder.h"
#include "service/codec.h"
#include "service/crypto.h"
#include "service/curl_transport.h"
#include "service/json_value.h"
#include "service/protocol_keys.h"
#include "service/service_client.h"
#include "service/service_request.h"
#include "tests/support/draw_service_fixture.h"

namespace pk10 {
namespace {

using testing::DrawServiceFixture;

// A client with its own transport, as the desktop program has.
struct Client {
    NoEventPump pump;
    SystemClock clock;
    SystemUptime uptime;
    CurlTransport transport{pump};
    ServiceClient client{transport, clock, uptime, pump};
};

// Raw POSTs for what the client never sends.
class RawPoster {
public:
    explicit RawPoster(const std::string& baseUrl) : http_(baseUrl) {}

    JsonReply post(const std::string& path, const std::string& body,
                   const std::string& cookie = {}) {
        httplib::Headers headers;
        if (!cookie.empty()) {
            headers.emplace("Cookie", "PK10SID=" + cookie);
        }
        const auto result =
            http_.Post(path.c_str(), headers, body, "application/x-www-form-urlencoded");
        JsonReply reply;
        EXPECT_TRUE(result);
        if (result) {
            EXPECT_EQ(result->status, 200);
            EXPECT_TRUE(reply.parse(result->body)) << result->body;
            lastCookie_ =
                std::string(cookieValue(result->get_header_value("Set-Cookie"), "PK10SID"));
        }
        return reply;
    }
    // A call key and its cookie token.
    std::pair<std::string, std::string> callKey() {
        const JsonReply reply = post("/draw.php", "DATA=GETRAND?1500000000");
        return {rc4(protocolKey(), hexToBytes(reply.memberText("data"))), lastCookie_};
    }
    std::string functionBody(std::string_view json, std::string_view key) {
        return "DATA=" + ServiceRequest::encryptBody(urlEscape(json), key);
    }

private:
    httplib::Client http_;
    std::string lastCookie_;
};

int portOf(const std::string& baseUrl) {
    return std::stoi(baseUrl.substr(baseUrl.rfind(':') + 1));
}

class ServiceIntegrationTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(service.ok()) << service.error(); }
    DrawServiceFixture service;
};

TEST_F(ServiceIntegrationTest, TheClientInitialisesAndReadsTheDraws) {
    Client c;
    ASSERT_TRUE(c.client.init(service.initUrl(), 1112)) << c.client.lastError();
    AppSettings settings;
    c.client.copySettings(settings);
    EXPECT_EQ(settings.drawurl, service.drawBaseUrl() + "/draw.php");
    EXPECT_EQ(settings.newphase, service.drawBaseUrl() + "/newphase.php");
    EXPECT_EQ(settings.advert1, service.drawBaseUrl() + "/advert.html");
    EXPECT_EQ(settings.version, "1.41");
    EXPECT_EQ(settings.proupurl, service.drawBaseUrl() + "/download/pk10-update.exe");

    std::vector<std::string> fields;
    ASSERT_TRUE(c.client.newestDraw(fields));
    ASSERT_EQ(fields.size(), 8U);
    EXPECT_EQ(fields[0], "pk10");
    EXPECT_EQ(std::stoll(fields[5]), std::stoll(fields[1]) + 1);

    DrawTable table;
    ASSERT_TRUE(c.client.selectDraw(50, table)) << c.client.lastError();
    const auto records = drawRecordsFromTable(table);
    ASSERT_TRUE(records);
    ASSERT_EQ(records->size(), 50U);
    EXPECT_EQ(records->front().period, fields[1]);
    EXPECT_EQ(records->front().numbers, fields[3]);
    EXPECT_EQ(std::stoll(records->front().period) - std::stoll(records->back().period), 49);

    EXPECT_EQ(c.client.latestPeriod(), fields[1]);

    httplib::Client http(service.drawBaseUrl());
    const auto advert = http.Get("/advert.html");
    ASSERT_TRUE(advert);
    EXPECT_NE(advert->body.find("<a href="), std::string::npos);
}

TEST_F(ServiceIntegrationTest, TheFallbackAddressInitialisesToo) {
    Client c;
    EXPECT_TRUE(c.client.init(service.fallbackInitUrl(), 1112)) << c.client.lastError();
}

TEST_F(ServiceIntegrationTest, EveryBadInputGetsAnEnvelopeAndTheServiceCarriesOn) {
    RawPoster raw(service.drawBaseUrl());
    const std::string init = R"({"rand":"42","funname":"init","appid":"1112","param":[]})";
    const auto expectCode = [](const JsonReply& reply, const char* errcode) {
        EXPECT_EQ(reply.errcode(), errcode);
        EXPECT_FALSE(reply.msg().empty());
        EXPECT_EQ(reply.memberText("data"), "");
    };

    expectCode(raw.post("/draw.php", "no form here"), "1001");
    expectCode(raw.post("/draw.php", "DATA=XYZ!", raw.callKey().second), "1002");
    {
        const auto [key, token] = raw.callKey();
        expectCode(raw.post("/draw.php", raw.functionBody(init, "not-the-call-key"), token),
                   "1003");
    }
    expectCode(raw.post("/draw.php", raw.functionBody(init, "0123456789abcdef")), "1004");
    {
        const auto [key, token] = raw.callKey();
        const std::string body = raw.functionBody(init, key);
        EXPECT_EQ(raw.post("/draw.php", body, token).errcode(), "0");
        expectCode(raw.post("/draw.php", body, token), "1006");
    }
    const std::array functions = {
        std::pair{R"({"rand":"1","funname":"drop_table","appid":"1112","param":[]})", "1007"},
        std::pair{R"({"rand":"1","funname":"init","appid":"9","param":[]})", "1008"},
        std::pair{R"({"rand":"1","funname":"select_draw","appid":"1112","param":["","x"]})",
                  "1009"},
    };
    for (const auto& [json, errcode] : functions) {
        const auto [key, token] = raw.callKey();
        expectCode(raw.post("/draw.php", raw.functionBody(json, key), token), errcode);
    }
    expectCode(raw.post("/", "DATA=" + std::string(100 * 1024, 'A'), raw.callKey().second), "1010");

    Client c;
    EXPECT_FALSE(c.client.init(service.initUrl(), 1113));
    EXPECT_NE(c.client.lastError().find("未知的应用"), std::string::npos) << c.client.lastError();
    EXPECT_TRUE(c.client.init(service.initUrl(), 1112)) << c.client.lastError();
}

TEST_F(ServiceIntegrationTest, ServesTwoHundredConcurrentCalls) {
    Client first;
    ASSERT_TRUE(first.client.init(service.initUrl(), 1112));
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < 200; ++i) {
        threads.emplace_back([&] {
            Client c;
            std::vector<std::string> fields;
            DrawTable table;
            if (!c.client.init(i % 2 ? service.initUrl() : service.fallbackInitUrl(), 1112) ||
                !c.client.newestDraw(fields) || fields.size() != 8 ||
                !c.client.selectDraw(10, table) || table.rows != 10) {
                ++failures;
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(failures, 0);
}

// Two requests in one write: both are answered, in order, on the same connection.
TEST_F(ServiceIntegrationTest, AnswersPipelinedRequestsInOrder) {
    const int sock = ::socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(sock, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(portOf(service.drawBaseUrl())));
    ::inet_pton(AF_INET, "127.0.0.1", &address.sin_addr);
    ASSERT_EQ(::connect(sock, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    const std::string requests =
        "GET /newphase.php HTTP/1.1\r\nHost: a\r\n\r\n"
        "POST /draw.php HTTP/1.1\r\nHost: a\r\nContent-Length: 23\r\n"
        "Connection: close\r\n\r\nDATA=GETRAND?1500000000";
    ASSERT_EQ(::send(sock, requests.data(), requests.size(), MSG_NOSIGNAL),
              static_cast<ssize_t>(requests.size()));
    std::string replies;
    char chunk[4096];
    for (ssize_t n = 0; (n = ::recv(sock, chunk, sizeof chunk, 0)) > 0;) {
        replies.append(chunk, static_cast<std::size_t>(n));
    }
    ::close(sock);
    httplib::Client http(service.drawBaseUrl());
    const auto period = http.Get("/newphase.php");
    ASSERT_TRUE(period);
    const std::size_t first = replies.find("HTTP/1.1 200");
    const std::size_t second = replies.find("HTTP/1.1 200", first + 1);
    ASSERT_NE(second, std::string::npos) << replies;
    EXPECT_NE(replies.substr(first, second - first).find("\r\n\r\n" + period->body),
              std::string::npos);
    EXPECT_NE(replies.find("PK10SID=", second), std::string::npos);
    EXPECT_NE(replies.find(R"({"errcode":0,"msg":"","data":")", second), std::string::npos);
}

TEST_F(ServiceIntegrationTest, ASecondServiceCannotTakeItsPorts) {
    for (const bool drawPort : {true, false}) {
        ServiceOptions options;
        options.port = drawPort ? portOf(service.drawBaseUrl()) : 0;
        options.initPort = drawPort ? 0 : portOf(service.initBaseUrl());
        options.dbPath = (std::filesystem::temp_directory_path() /
                          ("pk10-service-second-" + std::to_string(::getpid())) / "d.sqlite")
                             .string();
        options.updatesDir =
            (std::filesystem::path(options.dbPath).parent_path() / "updates").string();
        options.log = false;
        DrawService second(options);
        std::string error;
        EXPECT_FALSE(second.start(error));
        EXPECT_NE(error.find("cannot bind"), std::string::npos) << error;
        std::filesystem::remove_all(std::filesystem::path(options.dbPath).parent_path());
    }
}

// Log lines are written by a background thread; by the time stop() returns every request
// has its line, whole.
TEST(ServiceLog, EveryRequestHasItsWholeLineAfterStop) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("pk10-service-log-" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder);
    ServiceOptions options;
    options.port = 0;
    options.initPort = 0;
    options.dbPath = (folder / "draws.sqlite").string();
    options.updatesDir = (folder / "updates").string();
    options.threads = 4;
    constexpr int kThreads = 4;
    constexpr int kRequests = 100;

    ::testing::internal::CaptureStderr();
    {
        DrawService service(options);
        std::string error;
        if (service.start(error)) {
            std::vector<std::thread> threads;
            for (int t = 0; t < kThreads; ++t) {
                threads.emplace_back([&service, t] {
                    httplib::Client http("127.0.0.1",
                                         t % 2 ? service.drawPort() : service.initPort());
                    for (int i = 0; i < kRequests; ++i) {
                        if (t % 2) {
                            http.Get("/newphase.php");
                        } else {
                            http.Post("/appinit.php", "DATA=GETRAND?1500000000",
                                      "application/x-www-form-urlencoded");
                        }
                    }
                });
            }
            for (std::thread& thread : threads) {
                thread.join();
            }
        } else {
            ADD_FAILURE() << error;
        }
        service.stop();
    }
    const std::string log = ::testing::internal::GetCapturedStderr();
    std::filesystem::remove_all(folder);

    const std::regex getLine(R"(GET /newphase\.php function=- status=200 errcode=- \d+us)");
    const std::regex postLine(R"(POST /appinit\.php function=GETRAND status=200 errcode=0 \d+us)");
    int gets = 0;
    int posts = 0;
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);) {
        if (std::regex_match(line, getLine)) {
            ++gets;
        } else if (std::regex_match(line, postLine)) {
            ++posts;
        } else {
            ADD_FAILURE() << "unexpected log line: " << line;
        }
    }
    EXPECT_EQ(gets, kThreads / 2 * kRequests);
    EXPECT_EQ(posts, kThreads / 2 * kRequests);
}

TEST(ServiceRestart, KeepsEveryDrawOfTheStore) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("pk10-service-restart-" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder);
    DrawServiceFixture::Settings settings;
    settings.dbPath = (folder / "draws.sqlite").string();

    // Starts a service on the store, reads its 500 newest draws and stops it again.
    const auto storedDraws = [&settings] {
        DrawServiceFixture service(settings);
        EXPECT_TRUE(service.ok()) << service.error();
        Client c;
        EXPECT_TRUE(c.client.init(service.initUrl(), 1112));
        DrawTable table;
        EXPECT_TRUE(c.client.selectDraw(500, table));
        return table;
    };
    const DrawTable before = storedDraws();
    const DrawTable after = storedDraws();
    EXPECT_EQ(after.rows, 500U);
    EXPECT_EQ(after.cells, before.cells);
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace pk10
