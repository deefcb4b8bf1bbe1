#pragma once

#include "strategies/forecast_strategy.h"

namespace pk10 {

// A group of car numbers for each of the first positions (前3名5*5*5注 and the like); the
// forecast hits when every position's number is in its group.
class TopPositionsGroupStrategy final : public ForecastStrategy {
public:
    using ForecastStrategy::ForecastStrategy;
    std::unique_ptr<ForecastStrategy> clone() const override {
        return std::unique_ptr<ForecastStrategy>(new TopPositionsGroupStrategy(*this));
    }
    void configure(int firstPosition, std::string_view sizes, std::string_view name);
    std::string 取下期预测(std::int32_t seed) const override;
    bool 验证预测(const DrawNumbers& numbers, std::string_view forecast) const override;
    int firstPosition() const { return firstPosition_; }
    int groupCount() const { return static_cast<int>(groupSizes_.size()); }
    const std::vector<int>& groupSizes() const { return groupSizes_; }
    // `size` distinct numbers drawn without seeding, as a group text: ascending, decimal, no
    // separator (1, 3, 7, 10 -> "13710").
    std::string randomGroup(int size) const;

private:
    TopPositionsGroupStrategy(const TopPositionsGroupStrategy&) = default;

    int firstPosition_ = 0;
    std::vector<int> groupSizes_;
};

}  // namespace pk10
