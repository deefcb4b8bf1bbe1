#pragma once

#include "strategies/forecast_strategy.h"

namespace pk10 {

// 单 or 双 of the number at one position (the product plan 冠军单双 is position 1).
class PositionOddEvenStrategy final : public ForecastStrategy {
public:
    using ForecastStrategy::ForecastStrategy;
    std::unique_ptr<ForecastStrategy> clone() const override {
        return std::unique_ptr<ForecastStrategy>(new PositionOddEvenStrategy(*this));
    }
    void configure(int position, std::string_view name);
    std::string 取下期预测(std::int32_t seed) const override;
    bool 验证预测(const DrawNumbers& numbers, std::string_view forecast) const override;
    int position() const { return position_; }

private:
    PositionOddEvenStrategy(const PositionOddEvenStrategy&) = default;

    int position_ = 0;
};

}  // namespace pk10
