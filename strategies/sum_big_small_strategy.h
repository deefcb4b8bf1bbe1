#pragma once

#include "strategies/forecast_strategy.h"

namespace pk10 {

// 小 or 大 of the sum of the numbers at consecutive positions. The sum of positions 1 and 2
// runs from 3 to 19; 12 and above is 大, the usual 冠亚和 rule.
class SumBigSmallStrategy final : public ForecastStrategy {
public:
    using ForecastStrategy::ForecastStrategy;
    std::unique_ptr<ForecastStrategy> clone() const override {
        return std::unique_ptr<ForecastStrategy>(new SumBigSmallStrategy(*this));
    }
    void configure(int firstPosition, int count, std::string_view name);
    std::string 取下期预测(std::int32_t seed) const override;
    bool 验证预测(const DrawNumbers& numbers, std::string_view forecast) const override;
    int firstPosition() const { return firstPosition_; }
    int count() const { return count_; }

private:
    SumBigSmallStrategy(const SumBigSmallStrategy&) = default;

    int firstPosition_ = 0;
    int count_ = 0;
};

}  // namespace pk10
