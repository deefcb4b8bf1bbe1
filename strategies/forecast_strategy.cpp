#include "strategies/forecast_strategy.h"

#include <algorithm>

#include "service/text_rules.h"

namespace pk10 {

std::string ForecastStrategy::取下期预测(std::int32_t) const {
    if (messages_ != nullptr) {
        messages_->showMessage("错误！接口类函数 取下期预测（） 被直接调用");
    }
    return {};
}

bool ForecastStrategy::验证预测(const DrawNumbers&, std::string_view) const {
    if (messages_ != nullptr) {
        messages_->showMessage("错误！接口类函数 验证预测 被直接调用");
    }
    return false;
}

std::string_view ForecastStrategy::numberAt(const DrawNumbers& numbers, int position) {
    if (position < 1 || static_cast<std::size_t>(position) > numbers.size()) {
        return {};
    }
    return numbers[static_cast<std::size_t>(position - 1)];
}

std::int32_t ForecastStrategy::valueAt(const DrawNumbers& numbers, int position) {
    return textToInt(numberAt(numbers, position));
}

std::int64_t ForecastStrategy::sumAt(const DrawNumbers& numbers, int first, int count) {
    std::int64_t sum = 0;
    for (int p = first; p < first + count; ++p) {
        sum += valueAt(numbers, p);
    }
    return sum;
}

std::string ForecastStrategy::pickWord(std::int32_t seed, std::string_view first,
                                       std::string_view second) const {
    random_->seed(seed);
    return std::string(random_->between(1, 2) == 1 ? first : second);
}

std::string ForecastStrategy::pickNumbers(std::int32_t seed, int count) const {
    random_->seed(seed);
    auto numbers = random_->distinctNumbers(count);
    std::sort(numbers.begin(), numbers.end());
    std::string text;
    for (const int n : numbers) {
        if (!text.empty()) {
            text.push_back(' ');
        }
        text += twoDigits(n);
    }
    return text;
}

}  // namespace pk10
