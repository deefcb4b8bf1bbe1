#include "server/draw_source.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <numeric>

#include "server/secure_random.h"
#include "service/text_rules.h"

namespace pk10 {

std::string randomDrawNumbers() {
    std::array<int, 10> numbers{};
    std::iota(numbers.begin(), numbers.end(), 1);
    // Fisher-Yates with unbiased picks.
    for (std::uint32_t i = numbers.size() - 1; i > 0; --i) {
        std::swap(numbers[i], numbers[secureRandomBelow(i + 1)]);
    }
    std::string text;
    for (const int number : numbers) {
        if (!text.empty()) {
            text += ',';
        }
        text += twoDigits(number);
    }
    return text;
}

DrawPublisher::DrawPublisher(DrawStore& store, const Clock& clock, DrawSourceSettings settings)
    : store_(store), clock_(clock), settings_(std::move(settings)) {
    settings_.intervalSeconds = std::max<std::int64_t>(1, settings_.intervalSeconds);
}

DrawPublisher::~DrawPublisher() {
    stop();
}

std::int64_t DrawPublisher::civilNow() const {
    const std::int64_t now = clock_.unixNow();
    return now + clock_.utcOffsetAt(now);
}

StoredDraw DrawPublisher::nextDraw(std::int64_t period, std::int64_t civilTime) {
    if (settings_.mode == DrawSourceSettings::Mode::Replay) {
        const CsvDraw& row = settings_.replay[replayCursor_++];
        return {row.period, formatCivilTime(civilTime), row.numbers};
    }
    return {period, formatCivilTime(civilTime), randomDrawNumbers()};
}

bool DrawPublisher::prime(std::string& error) {
    const std::optional<StoredDraw> newest = store_.newest();
    const bool replay = settings_.mode == DrawSourceSettings::Mode::Replay;
    if (newest) {
        if (replay) {
            // Carry on after what an earlier run published.
            const auto after = std::upper_bound(
                settings_.replay.begin(), settings_.replay.end(), newest->period,
                [](std::int64_t period, const CsvDraw& row) { return period < row.period; });
            replayCursor_ = static_cast<std::size_t>(after - settings_.replay.begin());
        }
        return true;
    }
    const std::size_t count =
        replay ? std::min(kHistoryCount, settings_.replay.size()) : kHistoryCount;
    const std::int64_t now = civilNow();
    std::vector<StoredDraw> history;
    history.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const auto age = static_cast<std::int64_t>(count - 1 - i);
        history.push_back(nextDraw(settings_.firstSimulatedPeriod + static_cast<std::int64_t>(i),
                                   now - age * settings_.intervalSeconds));
    }
    return history.empty() || store_.insert(history, error);
}

std::optional<std::int64_t> DrawPublisher::step(std::string& error) {
    std::optional<StoredDraw> newest = store_.newest();
    if (!newest) {
        if (!prime(error)) {
            return clock_.unixNow() + settings_.intervalSeconds;
        }
        newest = store_.newest();
        if (!newest) {
            return std::nullopt;  // an empty replay file
        }
    }
    const std::int64_t now = civilNow();
    const std::int64_t offset = clock_.utcOffsetAt(clock_.unixNow());
    const std::int64_t drawn = parseCivilTime(newest->drawTime).value_or(now);
    std::int64_t due = drawn + settings_.intervalSeconds;
    const bool replay = settings_.mode == DrawSourceSettings::Mode::Replay;
    if (now >= due) {
        if (replay && replayCursor_ >= settings_.replay.size()) {
            return std::nullopt;
        }
        if (!store_.insert({nextDraw(newest->period + 1, now)}, error)) {
            return clock_.unixNow() + settings_.intervalSeconds;
        }
        due = now + settings_.intervalSeconds;
    }
    if (replay && replayCursor_ >= settings_.replay.size()) {
        return std::nullopt;
    }
    return due - offset;
}

void DrawPublisher::start() {
    std::string error;
    if (!prime(error)) {
        std::fprintf(stderr, "pk10-service: cannot publish the history: %s\n", error.c_str());
    }
    stopping_ = false;
    thread_ = std::thread([this] { run(); });
}

void DrawPublisher::stop() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void DrawPublisher::run() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        lock.unlock();
        std::string error;
        const std::optional<std::int64_t> due = step(error);
        if (!error.empty()) {
            std::fprintf(stderr, "pk10-service: cannot store a draw: %s\n", error.c_str());
        }
        lock.lock();
        // Re-read the wall clock at least every second so a clock change cannot stall draws.
        std::int64_t wait = 1;
        if (due) {
            wait = std::clamp<std::int64_t>(*due - clock_.unixNow(), 0, 1);
        }
        wake_.wait_for(lock, std::chrono::milliseconds(wait == 0 ? 20 : 1000),
                       [this] { return stopping_; });
    }
}

}  // namespace pk10
