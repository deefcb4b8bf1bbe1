#include "server/draw_service.h"

#include <httplib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>

#include "server/call_key_sealer.h"
#include "server/draw_import.h"
#include "server/draw_source.h"
#include "server/draw_store.h"
#include "server/request_decoder.h"
#include "server/secure_random.h"
#include "server/service_protocol.h"

namespace pk10 {
namespace {

// What the handler of the current request tells the logger; requests run one per thread.
struct RequestLog {
    std::chrono::steady_clock::time_point start;
    std::string function = "-";
    std::string errcode = "-";
};
thread_local RequestLog tRequestLog;

std::string printable(std::string_view text) {
    std::string out;
    for (const char c : text.substr(0, 64)) {
        out += (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) ? '?' : c;
    }
    return out;
}

std::string advertPage(const ProtocolSettings& settings) {
    return "<!DOCTYPE html>\n<html lang=\"zh-CN\"><head><meta charset=\"utf-8\">"
           "<title>PK10 开奖服务</title></head>\n<body style=\"font-family:sans-serif\">\n"
           "<h3>PK10 开奖服务</h3>\n<ul>\n"
           "<li><a href=\"/newphase.php\">最新期号</a></li>\n"
           "<li><a href=\"/download/" +
           settings.updateFile + "\">下载最新版本 " + settings.version +
           "</a></li>\n"
           "<li><a href=\"https://www.sqlite.org/\">开奖数据由本服务保存</a></li>\n"
           "</ul>\n</body></html>\n";
}

}  // namespace

struct DrawService::Impl {
    ServiceOptions options;
    SystemClock systemClock;
    const Clock* clock;
    std::unique_ptr<DrawStore> store;
    std::unique_ptr<CallKeySealer> sealer;
    std::unique_ptr<ServiceProtocol> protocol;
    std::unique_ptr<DrawPublisher> publisher;
    httplib::Server drawServer;
    httplib::Server initServer;
    std::thread drawThread;
    std::thread initThread;
    int drawPort = 0;
    int initPort = 0;
    std::mutex logMutex;
    std::string advert;
    bool running = false;

    void configure(httplib::Server& server);
    void handlePost(const httplib::Request& req, httplib::Response& res,
                    const httplib::ContentReader& reader);
    void log(const httplib::Request& req, const httplib::Response& res);
    bool bind(httplib::Server& server, int requested, int& bound, std::string& error);
};

void DrawService::Impl::log(const httplib::Request& req, const httplib::Response& res) {
    if (!options.log) {
        return;
    }
    const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(
                            std::chrono::steady_clock::now() - tRequestLog.start)
                            .count();
    char line[512];
    std::snprintf(line, sizeof line, "%s %s function=%s status=%d errcode=%s %lldus\n",
                  printable(req.method).c_str(), printable(req.path).c_str(),
                  printable(tRequestLog.function).c_str(), res.status,
                  printable(tRequestLog.errcode).c_str(), static_cast<long long>(micros));
    tRequestLog = RequestLog{};
    std::lock_guard lock(logMutex);
    std::fputs(line, stderr);
}

void DrawService::Impl::handlePost(const httplib::Request& req, httplib::Response& res,
                                   const httplib::ContentReader& reader) {
    // An oversized body is read on and dropped (up to a bound), so the connection stays in
    // step for the client's next request.
    constexpr std::size_t kDrainLimit = 4 * 1024 * 1024;
    std::string body;
    std::size_t received = 0;
    reader([&](const char* data, std::size_t length) {
        received += length;
        if (received <= kMaxBodyBytes) {
            body.append(data, length);
        }
        return received <= kDrainLimit;
    });
    const bool tooLong = received > kMaxBodyBytes;
    ProtocolReply reply;
    if (tooLong) {
        reply = ServiceProtocol::tooLong();
    } else {
        const std::string cookies = req.get_header_value("Cookie");
        reply = protocol->handle(body, cookieValue(cookies, kCallKeyCookie));
    }
    res.status = 200;
    if (!reply.setCookie.empty()) {
        res.set_header("Set-Cookie", reply.setCookie);
    }
    res.set_content(reply.body, "application/json; charset=utf-8");
    tRequestLog.function = reply.function.empty() ? "-" : std::move(reply.function);
    tRequestLog.errcode = std::move(reply.errcode);
}

void DrawService::Impl::configure(httplib::Server& server) {
    server.new_task_queue = [threads = options.threads] {
        return new httplib::ThreadPool(static_cast<std::size_t>(threads));
    };
    server.set_keep_alive_max_count(1000);
    server.set_tcp_nodelay(true);
    server.set_pre_routing_handler([](const httplib::Request&, httplib::Response&) {
        tRequestLog = RequestLog{std::chrono::steady_clock::now()};
        return httplib::Server::HandlerResponse::Unhandled;
    });
    server.set_exception_handler(
        [](const httplib::Request& req, httplib::Response& res, std::exception_ptr) {
            const ProtocolReply reply = ServiceProtocol::failure(ServiceError::Internal);
            res.status = req.method == "POST" ? 200 : 500;
            res.set_content(reply.body, "application/json; charset=utf-8");
            tRequestLog.errcode = reply.errcode;
        });
    server.set_logger(
        [this](const httplib::Request& req, const httplib::Response& res) { log(req, res); });
}

bool DrawService::Impl::bind(httplib::Server& server, int requested, int& bound,
                             std::string& error) {
    if (requested == 0) {
        bound = server.bind_to_any_port(options.host);
        if (bound > 0) {
            return true;
        }
    } else if (server.bind_to_port(options.host, requested)) {
        bound = requested;
        return true;
    }
    error = "cannot bind " + options.host + ":" + std::to_string(requested);
    return false;
}

DrawService::DrawService(ServiceOptions options, const Clock* clock)
    : impl_(std::make_unique<Impl>()) {
    impl_->options = std::move(options);
    impl_->clock = clock ? clock : &impl_->systemClock;
}

DrawService::~DrawService() {
    stop();
}

int DrawService::drawPort() const {
    return impl_->drawPort;
}
int DrawService::initPort() const {
    return impl_->initPort;
}

bool DrawService::start(std::string& error) {
    Impl& s = *impl_;
    const ServiceOptions& o = s.options;
    if (s.running) {
        return true;
    }

    DrawSourceSettings source;
    source.intervalSeconds = o.intervalSeconds;
    if (!o.replayFile.empty()) {
        source.mode = DrawSourceSettings::Mode::Replay;
        if (!loadDrawFile(o.replayFile, source.replay, error)) {
            return false;
        }
    }

    std::string secret;
    if (!o.secretFile.empty()) {
        std::ifstream in(o.secretFile, std::ios::binary);
        secret.assign(std::istreambuf_iterator<char>(in), {});
        if (!in.good() && !in.eof()) {
            error = "cannot read " + o.secretFile;
            return false;
        }
        if (secret.size() < 16) {
            error = o.secretFile + " holds fewer than 16 bytes of secret";
            return false;
        }
    } else {
        secret = secureRandomBytes(32);
    }

    s.store = DrawStore::open(o.dbPath, error);
    if (!s.store) {
        return false;
    }
    s.sealer = std::make_unique<CallKeySealer>(secret, *s.clock);

    // Socket options (no Nagle delay) apply when the port is bound, so configure first.
    for (httplib::Server* server : {&s.drawServer, &s.initServer}) {
        s.configure(*server);
    }
    if (!s.bind(s.drawServer, o.port, s.drawPort, error) ||
        !s.bind(s.initServer, o.initPort, s.initPort, error)) {
        s.drawServer.stop();
        s.initServer.stop();
        s.store.reset();
        return false;
    }

    ProtocolSettings settings;
    settings.publicHost = o.publicHost.empty() ? o.host : o.publicHost;
    settings.drawPort = s.drawPort;
    settings.version = o.version;
    settings.appId = std::to_string(o.appId);
    settings.updateFile = o.updateFile;
    settings.intervalSeconds = o.intervalSeconds;
    s.protocol = std::make_unique<ServiceProtocol>(settings, *s.sealer, *s.store, *s.clock);
    s.advert = advertPage(settings);

    s.publisher = std::make_unique<DrawPublisher>(*s.store, *s.clock, std::move(source));
    s.publisher->start();

    const auto post = [&s](const httplib::Request& req, httplib::Response& res,
                           const httplib::ContentReader& reader) {
        s.handlePost(req, res, reader);
    };
    // The newest period is asked for every few seconds by every client: answered before routing.
    s.drawServer.set_pre_routing_handler([&s](const httplib::Request& req, httplib::Response& res) {
        tRequestLog = RequestLog{std::chrono::steady_clock::now()};
        if (req.method == "GET" && req.path == "/newphase.php") {
            const std::optional<StoredDraw> newest = s.store->newest();
            res.set_content(newest ? std::to_string(newest->period) : std::string(),
                            "text/plain; charset=utf-8");
            return httplib::Server::HandlerResponse::Handled;
        }
        return httplib::Server::HandlerResponse::Unhandled;
    });
    s.drawServer.Post("/", post);
    s.drawServer.Post(R"(/draw\.php)", post);
    s.drawServer.Get(R"(/advert\.html)", [&s](const httplib::Request&, httplib::Response& res) {
        res.set_content(s.advert, "text/html; charset=utf-8");
    });
    std::error_code ec;
    std::filesystem::create_directories(o.updatesDir, ec);
    if (std::filesystem::is_directory(o.updatesDir, ec)) {
        s.drawServer.set_mount_point("/download", o.updatesDir);
    }
    s.initServer.Post(R"(/appinit\.php)", post);

    s.drawThread = std::thread([&s] { s.drawServer.listen_after_bind(); });
    s.initThread = std::thread([&s] { s.initServer.listen_after_bind(); });
    // stop() only takes effect on a running server, so start() returns once both run.
    while (!s.drawServer.is_running() || !s.initServer.is_running()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    s.running = true;
    return true;
}

void DrawService::stop() {
    Impl& s = *impl_;
    if (!s.running) {
        return;
    }
    s.running = false;
    // stop() closes the listening socket; the thread pool then finishes the requests in hand.
    s.drawServer.stop();
    s.initServer.stop();
    if (s.drawThread.joinable()) {
        s.drawThread.join();
    }
    if (s.initThread.joinable()) {
        s.initThread.join();
    }
    s.publisher.reset();
    s.protocol.reset();
    s.store.reset();
}

int importDraws(const ServiceOptions& options, const std::string& file, std::FILE* progress) {
    std::vector<CsvDraw> rows;
    std::string error;
    if (!loadDrawFile(file, rows, error)) {
        std::fprintf(progress, "\npk10-service import: %s\n", error.c_str());
        return 1;
    }
    std::unique_ptr<DrawStore> store = DrawStore::open(options.dbPath, error);
    if (!store) {
        std::fprintf(progress, "\npk10-service import: %s\n", error.c_str());
        return 1;
    }
    SystemClock clock;
    const std::int64_t now = clock.unixNow();
    const std::vector<StoredDraw> draws =
        toStoredDraws(rows, now + clock.utcOffsetAt(now), options.intervalSeconds);
    const std::int64_t before = store->count();
    constexpr std::size_t kBatch = 1000;
    for (std::size_t i = 0; i < draws.size(); i += kBatch) {
        const std::vector<StoredDraw> batch(
            draws.begin() + static_cast<std::ptrdiff_t>(i),
            draws.begin() + static_cast<std::ptrdiff_t>(std::min(i + kBatch, draws.size())));
        if (!store->insert(batch, error)) {
            std::fprintf(progress, "\npk10-service import: %s\n", error.c_str());
            return 1;
        }
        std::fprintf(progress, "\rimported %zu/%zu", std::min(i + kBatch, draws.size()),
                     draws.size());
        std::fflush(progress);
    }
    std::fprintf(progress, "\n%lld new draws in %s (%lld in all)\n",
                 static_cast<long long>(store->count() - before), options.dbPath.c_str(),
                 static_cast<long long>(store->count()));
    return 0;
}

}  // namespace pk10
