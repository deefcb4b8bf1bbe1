#include "server/draw_service.h"

#include <arpa/inet.h>
#include <httplib.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
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

void appendPrintable(std::string& out, std::string_view text) {
    for (const char c : text.substr(0, 64)) {
        out += (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) ? '?' : c;
    }
}

// Request log lines gathered in memory and written by one thread, so a request never waits
// for stderr and lines of concurrent requests never mix. Lines are written in the order they
// were added; stop() writes whatever is left.
class LogBuffer {
public:
    void start() {
        std::lock_guard lock(mutex_);
        if (writer_.joinable()) {
            return;
        }
        stopping_ = false;
        writer_ = std::thread([this] { run(); });
    }
    void stop() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_one();
        if (writer_.joinable()) {
            writer_.join();
        }
        flush();
    }
    void add(std::string_view line) {
        std::size_t size = 0;
        {
            std::lock_guard lock(mutex_);
            pending_.append(line);
            size = pending_.size();
        }
        if (size >= kMaxBytes) {
            // The writer cannot keep up: this request waits rather than the memory grow.
            flush();
        } else if (size >= kWakeBytes) {
            wake_.notify_one();
        }
    }
    void flush() {
        std::lock_guard writing(writeMutex_);
        std::string chunk;
        {
            std::lock_guard lock(mutex_);
            chunk.swap(pending_);
        }
        if (!chunk.empty()) {
            std::fwrite(chunk.data(), 1, chunk.size(), stderr);
            std::fflush(stderr);
        }
    }

private:
    static constexpr std::size_t kWakeBytes = 32 * 1024;
    static constexpr std::size_t kMaxBytes = 4 * 1024 * 1024;
    static constexpr std::chrono::milliseconds kInterval{100};

    void run() {
        std::unique_lock lock(mutex_);
        while (!stopping_) {
            wake_.wait_for(lock, kInterval,
                           [this] { return stopping_ || pending_.size() >= kWakeBytes; });
            lock.unlock();
            flush();
            lock.lock();
        }
    }

    std::mutex mutex_;       // pending_, stopping_
    std::mutex writeMutex_;  // keeps chunks in the order they were taken
    std::condition_variable wake_;
    std::string pending_;
    bool stopping_ = false;
    std::thread writer_;
};

// One kept-alive connection. httplib's own stream polls before every read and write, asks
// the kernel for both addresses on every request and sends headers and body as two packets;
// this one keeps a read buffer for the life of the connection, gathers a response and sends
// it in one write, and waits in blocking calls bounded by a short tick.
class ConnectionStream final : public httplib::Stream {
public:
    // How often a connection waiting for its next request looks whether the server stops.
    static constexpr std::chrono::milliseconds kTick{50};

    ConnectionStream(int sock, std::chrono::microseconds readTimeout,
                     std::chrono::microseconds writeTimeout)
        : sock_(sock), readTimeout_(readTimeout) {
        const timeval tick{0, std::chrono::microseconds(kTick).count()};
        ::setsockopt(sock_, SOL_SOCKET, SO_RCVTIMEO, &tick, sizeof tick);
        const auto writeSeconds = std::chrono::duration_cast<std::chrono::seconds>(writeTimeout);
        const timeval write{static_cast<time_t>(writeSeconds.count()),
                            static_cast<suseconds_t>((writeTimeout - writeSeconds).count())};
        ::setsockopt(sock_, SOL_SOCKET, SO_SNDTIMEO, &write, sizeof write);
    }

    // Waits until bytes of a request are at hand; false when the peer closed, the wait
    // outlasted `idle`, or `stopping` turned true.
    template <class Stopping>
    bool waitForRequest(std::chrono::seconds idle, const Stopping& stopping) {
        if (readPos_ < readEnd_) {
            return true;
        }
        const auto deadline = std::chrono::steady_clock::now() + idle;
        while (!stopping()) {
            const ReadResult result = fill();
            if (result == ReadResult::Data) {
                return true;
            }
            if (result == ReadResult::Closed || std::chrono::steady_clock::now() >= deadline) {
                return false;
            }
        }
        return false;
    }

    bool is_readable() const override { return readPos_ < readEnd_ || pollFor(POLLIN); }
    bool is_writable() const override { return true; }

    ssize_t read(char* ptr, std::size_t size) override {
        if (readPos_ == readEnd_) {
            // A reply gathered so far (say "100 Continue") must leave before the peer answers.
            if (!flush()) {
                return -1;
            }
            const auto deadline = std::chrono::steady_clock::now() + readTimeout_;
            for (;;) {
                const ReadResult result = fill();
                if (result == ReadResult::Data) {
                    break;
                }
                if (result == ReadResult::Closed) {
                    return closedCleanly_ ? 0 : -1;
                }
                if (std::chrono::steady_clock::now() >= deadline) {
                    return -1;
                }
            }
        }
        const std::size_t n = std::min(size, readEnd_ - readPos_);
        std::memcpy(ptr, readBuffer_ + readPos_, n);
        readPos_ += n;
        return static_cast<ssize_t>(n);
    }

    ssize_t write(const char* ptr, std::size_t size) override {
        if (failed_) {
            return -1;
        }
        if (writeBuffer_.size() + size <= kGatherBytes) {
            writeBuffer_.append(ptr, size);
            return static_cast<ssize_t>(size);
        }
        // A large body (a download) goes out directly after what is gathered.
        if (!flush() || !sendAll(ptr, size)) {
            return -1;
        }
        return static_cast<ssize_t>(size);
    }

    // Sends what is gathered; false once the connection failed.
    bool flush() {
        if (failed_) {
            return false;
        }
        if (!writeBuffer_.empty()) {
            const bool sent = sendAll(writeBuffer_.data(), writeBuffer_.size());
            writeBuffer_.clear();
            if (!sent) {
                return false;
            }
        }
        return true;
    }

    void get_remote_ip_and_port(std::string& ip, int& port) const override {
        addressOf(true, ip, port);
    }
    void get_local_ip_and_port(std::string& ip, int& port) const override {
        addressOf(false, ip, port);
    }
    socket_t socket() const override { return sock_; }

private:
    static constexpr std::size_t kReadBytes = 16 * 1024;
    static constexpr std::size_t kGatherBytes = 64 * 1024;

    enum class ReadResult { Data, Tick, Closed };

    // One receive into the empty read buffer, waiting at most one tick.
    ReadResult fill() {
        for (;;) {
            const ssize_t n = ::recv(sock_, readBuffer_, kReadBytes, 0);
            if (n > 0) {
                readPos_ = 0;
                readEnd_ = static_cast<std::size_t>(n);
                return ReadResult::Data;
            }
            if (n == 0) {
                closedCleanly_ = true;
                return ReadResult::Closed;
            }
            if (errno == EINTR) {
                continue;
            }
            if (errno == EAGAIN || errno == EWOULDBLOCK) {
                return ReadResult::Tick;
            }
            return ReadResult::Closed;
        }
    }

    bool sendAll(const char* data, std::size_t size) {
        while (size > 0) {
            const ssize_t n = ::send(sock_, data, size, MSG_NOSIGNAL);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                failed_ = true;
                return false;
            }
            data += n;
            size -= static_cast<std::size_t>(n);
        }
        return true;
    }

    bool pollFor(short events) const {
        pollfd entry{sock_, events, 0};
        const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(readTimeout_);
        return ::poll(&entry, 1, static_cast<int>(millis.count())) > 0;
    }

    // The addresses do not change while the connection lives: asked for once.
    void addressOf(bool remote, std::string& ip, int& port) const {
        Address& address = remote ? remote_ : local_;
        if (!address.known) {
            address.known = true;
            sockaddr_storage storage{};
            socklen_t length = sizeof storage;
            auto* raw = reinterpret_cast<sockaddr*>(&storage);
            const int rc =
                remote ? ::getpeername(sock_, raw, &length) : ::getsockname(sock_, raw, &length);
            char text[INET6_ADDRSTRLEN] = {};
            if (rc == 0 && storage.ss_family == AF_INET) {
                const auto* in = reinterpret_cast<const sockaddr_in*>(&storage);
                ::inet_ntop(AF_INET, &in->sin_addr, text, sizeof text);
                address.port = ntohs(in->sin_port);
            } else if (rc == 0 && storage.ss_family == AF_INET6) {
                const auto* in6 = reinterpret_cast<const sockaddr_in6*>(&storage);
                ::inet_ntop(AF_INET6, &in6->sin6_addr, text, sizeof text);
                address.port = ntohs(in6->sin6_port);
            }
            address.ip = text;
        }
        ip = address.ip;
        port = address.port;
    }

    struct Address {
        bool known = false;
        std::string ip;
        int port = 0;
    };

    int sock_;
    std::chrono::microseconds readTimeout_;
    char readBuffer_[kReadBytes];
    std::size_t readPos_ = 0;
    std::size_t readEnd_ = 0;
    bool closedCleanly_ = false;
    bool failed_ = false;
    std::string writeBuffer_;
    mutable Address remote_;
    mutable Address local_;
};

// httplib's server with the connection loop above.
class HttpServer final : public httplib::Server {
private:
    bool process_and_close_socket(socket_t sock) override {
        bool ok = true;
        {
            const auto readTimeout = std::chrono::seconds(read_timeout_sec_) +
                                     std::chrono::microseconds(read_timeout_usec_);
            const auto writeTimeout = std::chrono::seconds(write_timeout_sec_) +
                                      std::chrono::microseconds(write_timeout_usec_);
            ConnectionStream stream(sock, readTimeout, writeTimeout);
            // stop() clears the listening socket; a connection then ends after the request
            // it is in.
            const auto stopping = [this] { return svr_sock_ == INVALID_SOCKET; };
            for (std::size_t left = keep_alive_max_count_; left > 0 && !stopping(); --left) {
                if (!stream.waitForRequest(std::chrono::seconds(keep_alive_timeout_sec_),
                                           stopping)) {
                    break;
                }
                bool closed = false;
                ok = process_request(stream, left == 1, closed, nullptr);
                ok = stream.flush() && ok;
                if (!ok || closed) {
                    break;
                }
            }
        }
        ::shutdown(sock, SHUT_RDWR);
        ::close(sock);
        return ok;
    }
};

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
    HttpServer drawServer;
    HttpServer initServer;
    std::thread drawThread;
    std::thread initThread;
    int drawPort = 0;
    int initPort = 0;
    LogBuffer logBuffer;
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
    thread_local std::string line;
    line.clear();
    appendPrintable(line, req.method);
    line += ' ';
    appendPrintable(line, req.path);
    line += " function=";
    appendPrintable(line, tRequestLog.function);
    char numbers[64];
    std::snprintf(numbers, sizeof numbers, " status=%d errcode=", res.status);
    line += numbers;
    appendPrintable(line, tRequestLog.errcode);
    std::snprintf(numbers, sizeof numbers, " %lldus\n", static_cast<long long>(micros));
    line += numbers;
    tRequestLog = RequestLog{};
    logBuffer.add(line);
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
    // httplib also sets SO_REUSEPORT, which lets a second service bind the same port and
    // take part of its connections; a port in use must fail the start instead.
    server.set_socket_options([](socket_t sock) {
        const int yes = 1;
        ::setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });
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
            const std::optional<std::int64_t> period = s.store->newestPeriod();
            res.set_content(period ? std::to_string(*period) : std::string(),
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

    s.logBuffer.start();
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
    s.logBuffer.stop();
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
