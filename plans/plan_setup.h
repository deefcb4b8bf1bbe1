#pragma once

#include <string_view>

#include "plans/plan_manager.h"
#include "service/clock.h"
#include "strategies/strategy_registry.h"

namespace pk10 {

// The plan objects of one program: the shared generator, the strategy prototypes, the
// plan-type patterns and the plan manager that uses them.
struct PlanSetup {
    explicit PlanSetup(const Uptime& uptime, MessageSink* messages = nullptr)
        : registry(random, messages), manager(random, uptime, registry, patterns) {}
    PlanSetup(const PlanSetup&) = delete;
    PlanSetup& operator=(const PlanSetup&) = delete;

    // Adds a plan and sets the manager up as the product does: plans keep every entry, the
    // shaping target is 80% and plans are never reset. False when the type is refused.
    bool addProductPlan(std::string_view type, std::string_view name, int span) {
        const bool added = manager.addPlanByType(type, name, span);
        manager.setMaxEntries(0);
        manager.setHitRate(80);
        manager.setResetAfterMisses(0);
        return added;
    }

    RandomGenerator random;
    StrategyRegistry registry;
    PlanTypePatterns patterns;
    PlanManager manager;
};

}  // namespace pk10
