#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "server/draw_import.h"
#include "server/draw_store.h"
#include "service/clock.h"

namespace pk10 {

// Where new draws come from: simulated (random permutations, periods counting up) or replayed
// from a real CSV, one per interval.
struct DrawSourceSettings {
    enum class Mode { Simulate, Replay };
    Mode mode = Mode::Simulate;
    std::int64_t intervalSeconds = 300;
    std::vector<CsvDraw> replay;  // Replay only, sorted by period
    // A fresh simulated store starts here, like a real period count.
    std::int64_t firstSimulatedPeriod = 700001;
};

// Publishes draws into the store: a history first when the store is empty, then one draw
// each time the newest one is an interval old. `step` does one round and is what the
// background thread repeats, so tests drive it with a fake clock.
class DrawPublisher {
public:
    // The history published into an empty store.
    static constexpr std::size_t kHistoryCount = 500;

    DrawPublisher(DrawStore& store, const Clock& clock, DrawSourceSettings settings);
    ~DrawPublisher();
    DrawPublisher(const DrawPublisher&) = delete;
    DrawPublisher& operator=(const DrawPublisher&) = delete;

    // Fills an empty store with the history; false with a message when the store refuses.
    bool prime(std::string& error);
    // Publishes the next draw when it is due; returns the Unix time the following one is due,
    // or nullopt when a replay has run out.
    std::optional<std::int64_t> step(std::string& error);

    void start();
    void stop();

private:
    std::int64_t civilNow() const;
    StoredDraw nextDraw(std::int64_t period, std::int64_t civilTime);
    void run();

    DrawStore& store_;
    const Clock& clock_;
    DrawSourceSettings settings_;
    std::size_t replayCursor_ = 0;

    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::thread thread_;
};

// Ten numbers 1..10 in a uniformly random order from the CSPRNG, as the service writes them.
std::string randomDrawNumbers();

}  // namespace pk10
