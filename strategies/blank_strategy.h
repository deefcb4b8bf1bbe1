#pragma once

#include "strategies/forecast_strategy.h"

namespace pk10 {

// Placeholder strategy of a plan that has not been given a real one; it forecasts nothing.
class BlankStrategy final : public ForecastStrategy {
public:
    using ForecastStrategy::ForecastStrategy;
    std::unique_ptr<ForecastStrategy> clone() const override {
        return std::unique_ptr<ForecastStrategy>(new BlankStrategy(*this));
    }

private:
    BlankStrategy(const BlankStrategy&) = default;
};

}  // namespace pk10
