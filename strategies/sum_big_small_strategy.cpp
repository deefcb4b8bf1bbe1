#include "strategies/sum_big_small_strategy.h"

namespace pk10 {

void SumBigSmallStrategy::configure(int firstPosition, int count, std::string_view name) {
    firstPosition_ = firstPosition;
    count_ = count;
    setName(name);
}

std::string SumBigSmallStrategy::取下期预测(std::int32_t seed) const {
    return pickWord(seed, "小", "大");
}

bool SumBigSmallStrategy::验证预测(const DrawNumbers& numbers, std::string_view forecast) const {
    const std::int64_t sum = sumAt(numbers, firstPosition_, count_);
    return forecast == (sum >= 12 ? "大" : "小");
}

}  // namespace pk10
