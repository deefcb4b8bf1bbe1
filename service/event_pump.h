#pragma once

namespace pk10 {

// Lets pending user-interface events run once while the program waits (for the network, or
// after the plan box was written), so the window keeps painting.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void pumpOnce() = 0;
};

// The pump of a program without a window: nothing to run.
class NoEventPump final : public EventPump {
public:
    void pumpOnce() override {}
};

}  // namespace pk10
