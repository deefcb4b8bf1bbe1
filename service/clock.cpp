#include "service/clock.h"

#include <chrono>
#include <ctime>

namespace pk10 {

std::int64_t SystemClock::unixNow() const {
    using namespace std::chrono;
    return duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
}

std::int32_t SystemClock::utcOffsetAt(std::int64_t unixTime) const {
    const std::time_t t = static_cast<std::time_t>(unixTime);
    std::tm local{};
    localtime_r(&t, &local);
    return static_cast<std::int32_t>(local.tm_gmtoff);
}

std::uint32_t SystemUptime::milliseconds() const {
    timespec ts{};
    clock_gettime(CLOCK_BOOTTIME, &ts);
    const auto ms = static_cast<std::uint64_t>(ts.tv_sec) * 1000U +
                    static_cast<std::uint64_t>(ts.tv_nsec) / 1000000U;
    return static_cast<std::uint32_t>(ms);
}

}  // namespace pk10
