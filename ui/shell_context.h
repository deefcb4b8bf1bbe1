#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "plans/plan_controller.h"
#include "plans/plan_manager.h"
#include "service/app_settings.h"
#include "service/draw_record.h"
#include "service/event_pump.h"
#include "ui/browser_opener.h"
#include "ui/draw_clock.h"
#include "ui/main_window.h"
#include "ui/message_boxes.h"
#include "ui/process_starter.h"
#include "ui/product_settings.h"
#include "ui/service_operations.h"
#include "ui/splash_window.h"

namespace pk10 {

// State the shell keeps for the whole run besides its objects.
struct ShellState {
    ProductSettings product;
    std::int32_t formulaPeriods = 0;
    // Set once start-up has succeeded; from then on the advert box hands links to the desktop.
    bool startupDone = false;
    std::string updaterPath;
};

// Where the start-up tasks and the window handlers find the program's long-lived objects.
// Everything is owned elsewhere (by the App) and outlives every user of this record.
struct ShellContext {
    ShellState* state = nullptr;
    SplashWindow* splash = nullptr;
    MainWindow* window = nullptr;
    AppSettings* appSettings = nullptr;
    PlanController* plans = nullptr;
    ServiceOperations* service = nullptr;
    DrawClock* clock = nullptr;
    LatestDraw* latest = nullptr;
    DrawHistory* history = nullptr;
    PlanManager* planManager = nullptr;
    MessageBoxes* messages = nullptr;
    EventPump* pump = nullptr;
    BrowserOpener* opener = nullptr;
    // The application-initialisation address and its fallback.
    std::string initUrl;
    std::string fallbackUrl;
    // Starts the updater; the bytes written to the updater path when no updater is there.
    ProcessStarter* starter = nullptr;
    std::string_view updaterBytes;
};

}  // namespace pk10
