#include "strategies/car_position_strategy.h"

#include "service/text_rules.h"

namespace pk10 {

void CarPositionStrategy::configure(int car, int count, std::string_view name, int span) {
    car_ = car;
    count_ = count;
    setDisplayStyle(2);
    setSpan(span == 0 ? 3 : span);
    setName(name.empty() ? std::to_string(car) + "号车位置" : std::string(name));
}

std::string CarPositionStrategy::取下期预测(std::int32_t seed) const {
    return pickNumbers(seed, count_);
}

bool CarPositionStrategy::验证预测(const DrawNumbers& numbers, std::string_view forecast) const {
    if (car_ < 1 || car_ > 10) {
        return false;  // no such car; an absent item reads 0 and must not match car 0
    }
    const auto positions = splitText(forecast, " ");
    const std::size_t tested =
        std::min(positions.size(), static_cast<std::size_t>(std::max(count_, 0)));
    for (std::size_t i = 0; i < tested; ++i) {
        if (valueAt(numbers, textToInt(positions[i])) == car_) {
            return true;
        }
    }
    return false;
}

}  // namespace pk10
