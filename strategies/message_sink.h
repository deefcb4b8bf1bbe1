#pragma once

#include <string_view>

namespace pk10 {

// Where the core reports a message meant for the user (the desktop shows a message box).
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void showMessage(std::string_view text) = 0;
};

}  // namespace pk10
