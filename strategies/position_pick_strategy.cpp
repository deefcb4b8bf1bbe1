#include "strategies/position_pick_strategy.h"

namespace pk10 {

void PositionPickStrategy::configure(int position, int count, std::string_view name, int span) {
    position_ = position;
    count_ = count;
    setDisplayStyle(2);
    setSpan(span == 0 ? 3 : span);
    if (!name.empty()) {
        setName(name);
        return;
    }
    static constexpr std::string_view kWords[] = {"冠军", "亚军", "季军"};
    std::string made;
    if (position >= 1 && position <= 3) {
        made = kWords[position - 1];
    }
    made += std::to_string(count) + "胆" + std::to_string(this->span()) + "期";
    setName(made);
}

std::string PositionPickStrategy::取下期预测(std::int32_t seed) const {
    return pickNumbers(seed, count_);
}

bool PositionPickStrategy::验证预测(const DrawNumbers& numbers, std::string_view forecast) const {
    // A text search: with two-digit items, as the service writes them, it is a membership test.
    // An empty item names no number, so it cannot hit.
    const std::string_view item = numberAt(numbers, position_);
    return !item.empty() && forecast.find(item) != std::string_view::npos;
}

}  // namespace pk10
