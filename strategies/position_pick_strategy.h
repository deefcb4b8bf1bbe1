#pragma once

#include "strategies/forecast_strategy.h"

namespace pk10 {

// Several car numbers for one of positions 1 to 3 (冠军5胆 and the like).
class PositionPickStrategy final : public ForecastStrategy {
public:
    using ForecastStrategy::ForecastStrategy;
    std::unique_ptr<ForecastStrategy> clone() const override {
        return std::unique_ptr<ForecastStrategy>(new PositionPickStrategy(*this));
    }
    void configure(int position, int count, std::string_view name, int span);
    std::string 取下期预测(std::int32_t seed) const override;
    bool 验证预测(const DrawNumbers& numbers, std::string_view forecast) const override;
    int position() const { return position_; }
    int count() const { return count_; }

private:
    PositionPickStrategy(const PositionPickStrategy&) = default;

    int position_ = 0;
    int count_ = 0;
};

}  // namespace pk10
