#pragma once

#include <cstdint>

namespace pk10 {

// Wall-clock time, injected so that every time rule can be tested without waiting.
class Clock {
public:
    virtual ~Clock() = default;
    // Seconds since 1970-01-01 00:00:00 UTC.
    virtual std::int64_t unixNow() const = 0;
    // Offset of local time from UTC at the given instant, in seconds (Beijing: 28800).
    virtual std::int32_t utcOffsetAt(std::int64_t unixTime) const = 0;
};

// Milliseconds since the system started, wrapping at 2^32 like the platform's tick count.
class Uptime {
public:
    virtual ~Uptime() = default;
    virtual std::uint32_t milliseconds() const = 0;
};

class SystemClock final : public Clock {
public:
    std::int64_t unixNow() const override;
    std::int32_t utcOffsetAt(std::int64_t unixTime) const override;
};

class SystemUptime final : public Uptime {
public:
    std::uint32_t milliseconds() const override;
};

}  // namespace pk10
