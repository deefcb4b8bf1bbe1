#include "strategies/position_big_small_strategy.h"

namespace pk10 {

void PositionBigSmallStrategy::configure(int position, std::string_view name) {
    position_ = position;
    setName(name);
}

std::string PositionBigSmallStrategy::取下期预测(std::int32_t seed) const {
    return pickWord(seed, "小", "大");
}

bool PositionBigSmallStrategy::验证预测(const DrawNumbers& numbers,
                                        std::string_view forecast) const {
    return forecast == (valueAt(numbers, position_) >= 6 ? "大" : "小");
}

}  // namespace pk10
