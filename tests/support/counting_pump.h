#pragma once

#include <atomic>

#include "service/event_pump.h"

namespace pk10::testing {

// Counts how often pending events were let run.
class CountingPump final : public EventPump {
public:
    void pumpOnce() override { ++count; }
    std::atomic<int> count{0};
};

}  // namespace pk10::testing
