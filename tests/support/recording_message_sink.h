#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "strategies/message_sink.h"

namespace pk10::testing {

// Keeps every message the code under test wanted to show.
class RecordingMessageSink final : public MessageSink {
public:
    void showMessage(std::string_view text) override { messages.emplace_back(text); }
    std::vector<std::string> messages;
};

}  // namespace pk10::testing
