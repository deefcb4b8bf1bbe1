#pragma once

#include "strategies/forecast_strategy.h"

namespace pk10 {

// The positions one car will take (7号车位置 and the like).
class CarPositionStrategy final : public ForecastStrategy {
public:
    using ForecastStrategy::ForecastStrategy;
    std::unique_ptr<ForecastStrategy> clone() const override {
        return std::unique_ptr<ForecastStrategy>(new CarPositionStrategy(*this));
    }
    void configure(int car, int count, std::string_view name, int span);
    std::string 取下期预测(std::int32_t seed) const override;
    bool 验证预测(const DrawNumbers& numbers, std::string_view forecast) const override;
    int car() const { return car_; }
    int count() const { return count_; }

private:
    CarPositionStrategy(const CarPositionStrategy&) = default;

    int car_ = 0;
    int count_ = 0;
};

}  // namespace pk10
