#include "strategies/top_positions_group_strategy.h"

#include <algorithm>

#include "service/text_rules.h"

namespace pk10 {
namespace {

// Whether `number` belongs to a group text. Only 10 has two digits and it always comes last,
// so a group ending in "10" holds 10 and one number per character before it.
bool groupHolds(std::string_view group, std::int32_t number) {
    if (group.ends_with("10")) {
        if (number == 10) {
            return true;
        }
        group.remove_suffix(2);
    }
    return number >= 1 && number <= 9 &&
           group.find(static_cast<char>('0' + number)) != std::string_view::npos;
}

}  // namespace

void TopPositionsGroupStrategy::configure(int firstPosition, std::string_view sizes,
                                          std::string_view name) {
    firstPosition_ = firstPosition;
    setDisplayStyle(2);
    groupSizes_.clear();
    for (const auto& part : splitText(sizes, "*")) {
        groupSizes_.push_back(textToInt(part));
    }
    setName(name);
}

std::string TopPositionsGroupStrategy::randomGroup(int size) const {
    auto numbers = random().distinctNumbers(size);
    std::sort(numbers.begin(), numbers.end());
    std::string text;
    for (const int n : numbers) {
        text += std::to_string(n);
    }
    return text;
}

std::string TopPositionsGroupStrategy::取下期预测(std::int32_t seed) const {
    random().seed(seed);
    std::string forecast;
    for (std::size_t i = 0; i < groupSizes_.size(); ++i) {
        if (i != 0) {
            forecast.push_back(',');
        }
        forecast += randomGroup(groupSizes_[i]);
    }
    return forecast;
}

bool TopPositionsGroupStrategy::验证预测(const DrawNumbers& numbers,
                                         std::string_view forecast) const {
    const auto groups = splitText(forecast, ",");
    for (std::size_t i = 0; i < groupSizes_.size(); ++i) {
        if (i >= groups.size() ||
            !groupHolds(groups[i], valueAt(numbers, firstPosition_ + static_cast<int>(i)))) {
            return false;
        }
    }
    return true;
}

}  // namespace pk10
