#pragma once

#include <memory>
#include <string_view>

#include "service/event_pump.h"
#include "ui/browser_opener.h"
#include "ui/main_window.h"
#include "ui/message_boxes.h"
#include "ui/splash_window.h"

namespace pk10 {

// What the main window's controls call back into.
class MainWindowHandlers {
public:
    virtual ~MainWindowHandlers() = default;
    virtual void onSwitchPeriods() = 0;
    virtual void onClearPlans() = 0;
    // True lets the advert box navigate.
    virtual bool onAdvertNavigate(std::string_view address) = 0;
    virtual void onDrawTimerTick() = 0;
};

// The windows and platform services of a GUI toolkit. The shell creates its windows through
// this, so it never names the toolkit itself.
class Toolkit {
public:
    virtual ~Toolkit() = default;
    virtual std::unique_ptr<SplashWindow> makeSplashWindow() = 0;
    virtual std::unique_ptr<MainWindow> makeMainWindow(MainWindowHandlers& handlers) = 0;
    virtual EventPump& eventPump() = 0;
    virtual MessageBoxes& messageBoxes() = 0;
    virtual BrowserOpener& browserOpener() = 0;
};

}  // namespace pk10
