#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "strategies/message_sink.h"
#include "strategies/random_generator.h"

namespace pk10 {

// A draw as handed to a strategy: the ten car numbers as texts, position 1 first.
using DrawNumbers = std::vector<std::string>;

// Everything particular to one plan type: how the next forecast is made and when a forecast
// hit. A forecast is a text whose form only its strategy knows.
class ForecastStrategy {
public:
    ForecastStrategy(RandomGenerator& random, MessageSink* messages)
        : random_(&random), messages_(messages) {}
    virtual ~ForecastStrategy() = default;

    virtual std::unique_ptr<ForecastStrategy> clone() const = 0;
    virtual int span() const { return span_; }
    virtual void setSpan(int span) { span_ = span; }
    virtual int displayStyle() const { return displayStyle_; }
    virtual void setDisplayStyle(int style) { displayStyle_ = style; }
    virtual std::string name() const { return name_; }
    virtual void setName(std::string_view name) { name_ = name; }

    // Seeds the shared generator with `seed`, then draws the forecast from it.
    virtual std::string 取下期预测(std::int32_t seed) const;
    // True when `forecast` hit the draw whose numbers are given.
    virtual bool 验证预测(const DrawNumbers& numbers, std::string_view forecast) const;

protected:
    ForecastStrategy(const ForecastStrategy&) = default;
    ForecastStrategy& operator=(const ForecastStrategy&) = delete;

    // The item at a 1-based position; empty for a position the draw does not have.
    static std::string_view numberAt(const DrawNumbers& numbers, int position);
    // The item at a 1-based position read as an integer (0 when absent or not a number).
    static std::int32_t valueAt(const DrawNumbers& numbers, int position);
    // The sum of the values at positions first .. first + count - 1.
    static std::int64_t sumAt(const DrawNumbers& numbers, int first, int count);

    RandomGenerator& random() const { return *random_; }
    // One draw of random(1, 2) after seeding: `first` for 1, `second` for 2.
    std::string pickWord(std::int32_t seed, std::string_view first, std::string_view second) const;
    // `count` distinct numbers from 1 to 10 after seeding, ascending, two digits, blank-joined.
    std::string pickNumbers(std::int32_t seed, int count) const;

private:
    RandomGenerator* random_;
    MessageSink* messages_;
    std::string name_;
    int span_ = 3;
    int displayStyle_ = 1;
};

}  // namespace pk10
