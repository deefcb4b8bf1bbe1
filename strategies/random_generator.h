#pragma once

#include <cstdint>
#include <vector>

namespace pk10 {

// The one generator state that every forecast is a function of. Its sequence is the classic
// linear congruential one (multiplier 214013, increment 2531011, 15-bit yields), so forecasts
// are fixed by their seeds.
class RandomGenerator {
public:
    void seed(std::int32_t seed) { state_ = static_cast<std::uint32_t>(seed); }
    // A value from 0 to 32767.
    int next() {
        state_ = state_ * 214013U + 2531011U;
        return static_cast<int>((state_ >> 16) & 0x7FFFU);
    }
    // min + (yield mod (max - min + 1)), for 0 <= min <= max.
    int between(int min, int max) { return min + next() % (max - min + 1); }
    // `count` distinct numbers from 1 to 10 in the order drawn: a repeat is dropped and drawn
    // again. At most ten can be distinct, so a larger count yields all ten.
    std::vector<int> distinctNumbers(int count);

    std::uint32_t state() const { return state_; }

private:
    std::uint32_t state_ = 1;
};

}  // namespace pk10
