#pragma once

#include "strategies/forecast_strategy.h"

namespace pk10 {

// 小 (1 to 5) or 大 (6 to 10) of the number at one position.
class PositionBigSmallStrategy final : public ForecastStrategy {
public:
    using ForecastStrategy::ForecastStrategy;
    std::unique_ptr<ForecastStrategy> clone() const override {
        return std::unique_ptr<ForecastStrategy>(new PositionBigSmallStrategy(*this));
    }
    void configure(int position, std::string_view name);
    std::string 取下期预测(std::int32_t seed) const override;
    bool 验证预测(const DrawNumbers& numbers, std::string_view forecast) const override;
    int position() const { return position_; }

private:
    PositionBigSmallStrategy(const PositionBigSmallStrategy&) = default;

    int position_ = 0;
};

}  // namespace pk10
