#include "strategies/position_odd_even_strategy.h"

namespace pk10 {

void PositionOddEvenStrategy::configure(int position, std::string_view name) {
    position_ = position;
    setName(name);
}

std::string PositionOddEvenStrategy::取下期预测(std::int32_t seed) const {
    return pickWord(seed, "单", "双");
}

bool PositionOddEvenStrategy::验证预测(const DrawNumbers& numbers,
                                       std::string_view forecast) const {
    return forecast == (valueAt(numbers, position_) % 2 != 0 ? "单" : "双");
}

}  // namespace pk10
