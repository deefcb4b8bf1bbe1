#pragma once

#include <string>

#include "plans/plan_setup.h"
#include "strategies/strategy_registry.h"
#include "support/fake_time.h"

namespace pk10::testing {

// A strategy whose forecast is its seed in decimal and which hits exactly when the first item
// of the draw is "H", so tests can read the seeds and steer every result.
class EchoStrategy final : public ForecastStrategy {
public:
    using ForecastStrategy::ForecastStrategy;
    std::unique_ptr<ForecastStrategy> clone() const override {
        return std::unique_ptr<ForecastStrategy>(new EchoStrategy(*this));
    }
    std::string 取下期预测(std::int32_t seed) const override { return std::to_string(seed); }
    bool 验证预测(const DrawNumbers& numbers, std::string_view) const override {
        return !numbers.empty() && numbers[0] == "H";
    }

private:
    EchoStrategy(const EchoStrategy&) = default;
};

inline constexpr const char* kHit = "H,2,3,4,5,6,7,8,9,10";
inline constexpr const char* kMiss = "M,2,3,4,5,6,7,8,9,10";

struct PlanFixture {
    FakeUptime uptime;
    PlanSetup setup{uptime};
    RandomGenerator& random = setup.random;
    StrategyRegistry& registry = setup.registry;
    PlanManager& manager = setup.manager;

    // Adds an echo plan named `name` with the given span.
    const Plan& addEchoPlan(const std::string& name, int span) {
        EchoStrategy prototype(random, nullptr);
        prototype.setName(name);
        manager.addPlan(prototype);
        manager.setPlanSpan(span, name, true);
        return *manager.planAt(manager.findPlan(name));
    }
};

}  // namespace pk10::testing
