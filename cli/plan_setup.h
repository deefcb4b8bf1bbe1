#pragma once

#include "plans/plan_manager.h"
#include "service/clock.h"
#include "strategies/strategy_registry.h"

namespace pk10 {

// The plan objects the product keeps, set up the way it sets them up.
struct PlanSetup {
    RandomGenerator random;
    SystemUptime uptime;
    StrategyRegistry registry{random, nullptr};
    PlanTypePatterns patterns;
    PlanManager manager{random, uptime, registry, patterns};
};

}  // namespace pk10
