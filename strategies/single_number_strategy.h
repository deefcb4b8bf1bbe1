#pragma once

#include "strategies/forecast_strategy.h"

namespace pk10 {

// One car number expected among a range of positions (前5独胆: positions 1 to 5).
class SingleNumberStrategy final : public ForecastStrategy {
public:
    using ForecastStrategy::ForecastStrategy;
    std::unique_ptr<ForecastStrategy> clone() const override {
        return std::unique_ptr<ForecastStrategy>(new SingleNumberStrategy(*this));
    }
    void configure(int firstPosition, int count, std::string_view name);
    std::string 取下期预测(std::int32_t seed) const override;
    bool 验证预测(const DrawNumbers& numbers, std::string_view forecast) const override;
    int firstPosition() const { return firstPosition_; }
    int count() const { return count_; }

private:
    SingleNumberStrategy(const SingleNumberStrategy&) = default;

    int firstPosition_ = 0;
    int count_ = 0;
};

}  // namespace pk10
