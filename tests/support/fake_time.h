#pragma once

#include <cstdint>

#include "service/clock.h"

namespace pk10::testing {

// A wall clock the test sets; local time is UTC+8 unless told otherwise.
class FakeClock final : public Clock {
public:
    std::int64_t unixNow() const override { return now; }
    std::int32_t utcOffsetAt(std::int64_t) const override { return offset; }

    std::int64_t now = 1500000000;
    std::int32_t offset = 8 * 3600;
};

// An uptime the test sets; it advances by `step` on every read.
class FakeUptime final : public Uptime {
public:
    std::uint32_t milliseconds() const override {
        const std::uint32_t value = now;
        now += step;
        return value;
    }

    mutable std::uint32_t now = 1000;
    std::uint32_t step = 0;
};

}  // namespace pk10::testing
