#pragma once

#include <string_view>

namespace pk10 {

// The status window shown while the program connects to its service.
class SplashWindow {
public:
    virtual ~SplashWindow() = default;
    // Creates the window with the message and lets it paint; false (and no change) when it
    // already exists.
    virtual bool showStatus(std::string_view message) = 0;
    // Destroys the window without raising the user's close request; false when there was none.
    virtual bool closeStatus() = 0;
};

}  // namespace pk10
