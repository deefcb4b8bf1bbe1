#include "strategies/random_generator.h"

#include <algorithm>
#include <array>

namespace pk10 {

std::vector<int> RandomGenerator::distinctNumbers(int count) {
    const int wanted = std::clamp(count, 0, 10);
    std::vector<int> numbers;
    numbers.reserve(static_cast<std::size_t>(wanted));
    std::array<bool, 11> taken{};
    while (static_cast<int>(numbers.size()) < wanted) {
        const int r = between(1, 10);
        if (!taken[static_cast<std::size_t>(r)]) {
            taken[static_cast<std::size_t>(r)] = true;
            numbers.push_back(r);
        }
    }
    return numbers;
}

}  // namespace pk10
