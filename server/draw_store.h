#pragma once

#include <atomic>
#include <cstdint>
#include <limits>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "server/draw_texts.h"

struct sqlite3;

namespace pk10 {

// The draws the service publishes, in SQLite (WAL journal), with the newest ones kept in
// memory so reads never wait for the database. The newest draw is the highest period.
class DrawStore {
public:
    // How many of the newest draws stay in memory: the most a "select_draw" may ask for.
    static constexpr std::size_t kRecentCount = 500;

    // Opens or creates the store, making the parent folder if needed; nullptr and a message
    // on failure.
    static std::unique_ptr<DrawStore> open(const std::string& path, std::string& error);
    ~DrawStore();
    DrawStore(const DrawStore&) = delete;
    DrawStore& operator=(const DrawStore&) = delete;

    // Adds draws in one transaction; a period already stored keeps its first draw.
    bool insert(const std::vector<StoredDraw>& draws, std::string& error);

    // Up to kRecentCount newest draws, newest first; a snapshot that later inserts leave alone.
    std::shared_ptr<const std::vector<StoredDraw>> recent() const;
    std::optional<StoredDraw> newest() const;
    // The period of newest(), without taking a lock: asked for by every client every few
    // seconds.
    std::optional<std::int64_t> newestPeriod() const;
    std::int64_t count() const;

private:
    explicit DrawStore(sqlite3* db);
    // Called with dbMutex_ held (or before the store is shared).
    bool reloadRecent(std::string& error);

    sqlite3* db_;
    mutable std::mutex dbMutex_;
    mutable std::mutex recentMutex_;
    std::shared_ptr<const std::vector<StoredDraw>> recent_;
    static constexpr std::int64_t kNoPeriod = std::numeric_limits<std::int64_t>::min();
    std::atomic<std::int64_t> newestPeriod_{kNoPeriod};
};

}  // namespace pk10
