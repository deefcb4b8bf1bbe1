#include "strategies/single_number_strategy.h"

#include "service/text_rules.h"

namespace pk10 {

void SingleNumberStrategy::configure(int firstPosition, int count, std::string_view name) {
    firstPosition_ = firstPosition;
    count_ = count;
    setName(name);
}

std::string SingleNumberStrategy::取下期预测(std::int32_t seed) const {
    random().seed(seed);
    return twoDigits(random().between(1, 10));
}

bool SingleNumberStrategy::验证预测(const DrawNumbers& numbers, std::string_view forecast) const {
    const std::int32_t wanted = textToInt(forecast);
    if (wanted == 0) {
        return false;  // not a number; an absent item also reads 0 and must not match it
    }
    for (int p = firstPosition_; p < firstPosition_ + count_; ++p) {
        if (valueAt(numbers, p) == wanted) {
            return true;
        }
    }
    return false;
}

}  // namespace pk10
