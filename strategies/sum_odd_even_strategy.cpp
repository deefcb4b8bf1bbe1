#include "strategies/sum_odd_even_strategy.h"

namespace pk10 {

void SumOddEvenStrategy::configure(int firstPosition, int count, std::string_view name) {
    firstPosition_ = firstPosition;
    count_ = count;
    setName(name);
}

std::string SumOddEvenStrategy::取下期预测(std::int32_t seed) const {
    return pickWord(seed, "单", "双");
}

bool SumOddEvenStrategy::验证预测(const DrawNumbers& numbers, std::string_view forecast) const {
    const std::int64_t sum = sumAt(numbers, firstPosition_, count_);
    return forecast == (sum % 2 != 0 ? "单" : "双");
}

}  // namespace pk10
