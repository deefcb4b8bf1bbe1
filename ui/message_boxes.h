#pragma once

#include <string_view>

#include "strategies/message_sink.h"

namespace pk10 {

// Task-modal message boxes with the caption "信息：". showMessage has an OK button.
class MessageBoxes : public MessageSink {
public:
    // OK and Cancel; true when the user chose OK.
    virtual bool askOkCancel(std::string_view text) = 0;
};

}  // namespace pk10
