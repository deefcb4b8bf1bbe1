#include "server/draw_store.h"

#include <sqlite3.h>

#include <filesystem>

namespace pk10 {
namespace {

std::string lastError(sqlite3* db) {
    return db ? sqlite3_errmsg(db) : "out of memory";
}

// A prepared statement that finalises itself.
class Statement {
public:
    Statement(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr); }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    sqlite3_stmt* get() const { return stmt_; }
    explicit operator bool() const { return stmt_ != nullptr; }

private:
    sqlite3_stmt* stmt_ = nullptr;
};

std::string columnText(sqlite3_stmt* stmt, int column) {
    const unsigned char* text = sqlite3_column_text(stmt, column);
    return text ? reinterpret_cast<const char*>(text) : "";
}

}  // namespace

std::unique_ptr<DrawStore> DrawStore::open(const std::string& path, std::string& error) {
    std::error_code ec;
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (!parent.empty()) {
        std::filesystem::create_directories(parent, ec);
    }
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX,
                        nullptr) != SQLITE_OK) {
        error = "cannot open " + path + ": " + lastError(db);
        sqlite3_close(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, 5000);
    char* message = nullptr;
    const char* setup =
        "PRAGMA journal_mode=WAL;"
        "PRAGMA synchronous=NORMAL;"
        "CREATE TABLE IF NOT EXISTS draws ("
        "  period INTEGER PRIMARY KEY,"
        "  draw_time TEXT NOT NULL,"
        "  numbers TEXT NOT NULL);";
    if (sqlite3_exec(db, setup, nullptr, nullptr, &message) != SQLITE_OK) {
        error = "cannot set up " + path + ": " + (message ? message : lastError(db));
        sqlite3_free(message);
        sqlite3_close(db);
        return nullptr;
    }
    std::unique_ptr<DrawStore> store(new DrawStore(db));
    if (!store->reloadRecent(error)) {
        return nullptr;
    }
    return store;
}

DrawStore::DrawStore(sqlite3* db)
    : db_(db), recent_(std::make_shared<const std::vector<StoredDraw>>()) {}

DrawStore::~DrawStore() {
    sqlite3_close(db_);
}

bool DrawStore::insert(const std::vector<StoredDraw>& draws, std::string& error) {
    // The reload stays under the same lock so snapshots are published in commit order.
    std::lock_guard lock(dbMutex_);
    {
        if (sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK) {
            error = lastError(db_);
            return false;
        }
        bool ok = true;
        {
            Statement insertDraw(
                db_, "INSERT OR IGNORE INTO draws (period, draw_time, numbers) VALUES (?, ?, ?)");
            ok = static_cast<bool>(insertDraw);
            for (std::size_t i = 0; ok && i < draws.size(); ++i) {
                const StoredDraw& draw = draws[i];
                sqlite3_stmt* stmt = insertDraw.get();
                sqlite3_reset(stmt);
                sqlite3_bind_int64(stmt, 1, draw.period);
                sqlite3_bind_text(stmt, 2, draw.drawTime.data(),
                                  static_cast<int>(draw.drawTime.size()), SQLITE_STATIC);
                sqlite3_bind_text(stmt, 3, draw.numbers.data(),
                                  static_cast<int>(draw.numbers.size()), SQLITE_STATIC);
                ok = sqlite3_step(stmt) == SQLITE_DONE;
            }
        }
        if (!ok) {
            error = lastError(db_);
            sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
            return false;
        }
        if (sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
            error = lastError(db_);
            sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
            return false;
        }
    }
    return reloadRecent(error);
}

bool DrawStore::reloadRecent(std::string& error) {
    auto draws = std::make_shared<std::vector<StoredDraw>>();
    {
        Statement select(db_,
                         "SELECT period, draw_time, numbers FROM draws ORDER BY period DESC "
                         "LIMIT 500");
        if (!select) {
            error = lastError(db_);
            return false;
        }
        int rc = SQLITE_ROW;
        while ((rc = sqlite3_step(select.get())) == SQLITE_ROW) {
            draws->push_back({sqlite3_column_int64(select.get(), 0), columnText(select.get(), 1),
                              columnText(select.get(), 2)});
        }
        if (rc != SQLITE_DONE) {
            error = lastError(db_);
            return false;
        }
    }
    const std::int64_t newestPeriod = draws->empty() ? kNoPeriod : draws->front().period;
    std::lock_guard recentLock(recentMutex_);
    recent_ = std::move(draws);
    newestPeriod_.store(newestPeriod, std::memory_order_release);
    return true;
}

std::shared_ptr<const std::vector<StoredDraw>> DrawStore::recent() const {
    std::lock_guard lock(recentMutex_);
    return recent_;
}

std::optional<StoredDraw> DrawStore::newest() const {
    const auto draws = recent();
    if (draws->empty()) {
        return std::nullopt;
    }
    return draws->front();
}

std::optional<std::int64_t> DrawStore::newestPeriod() const {
    const std::int64_t period = newestPeriod_.load(std::memory_order_acquire);
    if (period == kNoPeriod) {
        return std::nullopt;
    }
    return period;
}

std::int64_t DrawStore::count() const {
    std::lock_guard lock(dbMutex_);
    Statement select(db_, "SELECT COUNT(*) FROM draws");
    if (!select || sqlite3_step(select.get()) != SQLITE_ROW) {
        return 0;
    }
    return sqlite3_column_int64(select.get(), 0);
}

}  // namespace pk10
