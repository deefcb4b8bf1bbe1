#pragma once

#include <string_view>

namespace pk10 {

// Opens an address in the desktop's own browser, without waiting; failures are ignored.
class BrowserOpener {
public:
    virtual ~BrowserOpener() = default;
    virtual void open(std::string_view address) = 0;
};

}  // namespace pk10
