#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "plans/plan.h"
#include "plans/plan_type_patterns.h"
#include "service/clock.h"
#include "strategies/strategy_registry.h"

namespace pk10 {

// Keeps one plan per plan type and settles their forecasts against every draw. Plans are
// addressed by 1-based index or found by name (first match wins).
class PlanManager {
public:
    PlanManager(RandomGenerator& random, const Uptime& uptime, StrategyRegistry& registry,
                const PlanTypePatterns& patterns)
        : random_(&random), uptime_(&uptime), registry_(&registry), patterns_(&patterns) {}

    void clear();
    void clearEntries();
    void setResetAfterMisses(std::int32_t value) { resetAfterMisses_ = value; }
    void setHitRate(std::int32_t percent) { hitRate_ = percent; }
    // On the plan named `name` when `one`, else on every plan.
    void setPlanSpan(std::int32_t value, std::string_view name, bool one);
    void setPlanDisplayStyle(std::int32_t value, std::string_view name, bool one);
    void setName(std::string_view name);
    void addPlan(const ForecastStrategy& prototype);
    void removePlan(std::string_view name);
    void refreshPlan(Plan& plan) const;
    void setMaxEntries(std::int32_t value) { maxEntries_ = value; }

    // Splits a numbers text at ","; true when it holds exactly ten pieces.
    static bool parseDraw(std::string_view numbers, DrawNumbers& out);
    // Period arithmetic: the period read as an integer, plus n, as decimal text.
    static std::string offsetPeriod(std::string_view period, std::int32_t n);

    std::string renderPlan(const Plan& plan, std::string_view prefix) const;
    bool addPlanByType(std::string_view type, std::string_view name, std::int32_t span);
    // Checks one draw and settles every plan against it; false (and no change) when either
    // numbers text does not hold ten numbers. `nextNumbers` is the following period's draw when
    // it is already known (history replay), else empty.
    bool feedDraw(std::string_view period, std::string_view numbers, std::int32_t seedPart,
                  std::string_view nextNumbers);
    void processDraw(std::string_view period, std::string_view numbersText,
                     const DrawNumbers& numbers, std::int32_t seedPart,
                     const DrawNumbers& nextNumbers);
    bool hasRecentStates(const Plan& plan, EntryState state, int window, int need,
                         bool consecutive) const;
    void appendEntry(Plan& plan, std::string_view period, std::int32_t seed,
                     const DrawNumbers& knownNumbers);

    int findPlan(std::string_view name) const;
    std::string planNameAt(int index) const;
    std::string name() const { return name_; }
    std::int32_t nameSeed() const { return nameSeed_; }
    int planCount() const { return static_cast<int>(plans_.size()); }
    std::int32_t maxEntries() const { return maxEntries_; }
    std::int32_t hitRate() const { return hitRate_; }
    std::int32_t resetAfterMisses() const { return resetAfterMisses_; }
    std::string renderPlanAt(int index) const;
    std::string renderPlanNamed(std::string_view name) const;
    // Replace `out` by a deep copy; `out` stays as it was when there is no such plan.
    void copyPlanAt(int index, Plan& out) const;
    void copyPlanNamed(std::string_view name, Plan& out) const;
    std::string currentForecastAt(int index) const;
    std::string currentForecastNamed(std::string_view name) const;
    // Read-only view of a plan without copying it; nullptr when there is none.
    const Plan* planAt(int index) const;

    // Name seeds: the leading hex digits of the MD5 of the name's GBK bytes.
    static std::int32_t planNameSeed(std::string_view name);
    static std::int32_t managerNameSeed(std::string_view name);

private:
    Plan* mutablePlanAt(int index);

    RandomGenerator* random_;
    const Uptime* uptime_;
    StrategyRegistry* registry_;
    const PlanTypePatterns* patterns_;

    std::string name_;
    std::int32_t nameSeed_ = 0;
    std::vector<Plan> plans_;
    std::int32_t maxEntries_ = 0;
    std::int32_t hitRate_ = 80;
    std::int32_t resetAfterMisses_ = 1;
};

}  // namespace pk10
