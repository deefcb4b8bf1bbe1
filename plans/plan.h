#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "strategies/forecast_strategy.h"

namespace pk10 {

enum class EntryState : std::int32_t { Waiting = 0, Miss = 1, Hit = 2 };

// One forecast of a plan and the periods it covers.
struct PlanEntry {
    std::string firstPeriod;
    std::string lastPeriod;
    EntryState state = EntryState::Waiting;
    std::string forecast;
    std::string resultPeriod;  // period of the draw that gave the latest result
    std::string resultDraw;    // numbers of that draw

    bool operator==(const PlanEntry&) const = default;
};

// A running series of forecasts for one plan type. Copies are deep: the strategy is cloned.
struct Plan {
    std::string name;
    std::unique_ptr<ForecastStrategy> strategy;
    std::int32_t nameSeed = 0;
    std::deque<PlanEntry> entries;  // oldest first; only the last one can be open
    std::int32_t displayStyle = 0;
    std::int32_t span = 0;

    Plan() = default;
    Plan(const Plan& other);
    Plan& operator=(const Plan& other);
    Plan(Plan&&) noexcept = default;
    Plan& operator=(Plan&&) noexcept = default;
    ~Plan() = default;

    int entryCount() const { return static_cast<int>(entries.size()); }
};

}  // namespace pk10
