#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "app/product.h"
#include "app/service_client_operations.h"
#include "app/settings_file.h"
#include "app/startup_tasks.h"
#include "plans/plan_controller.h"
#include "plans/plan_manager.h"
#include "plans/plan_type_patterns.h"
#include "service/app_settings.h"
#include "service/clock.h"
#include "service/curl_transport.h"
#include "service/service_client.h"
#include "strategies/random_generator.h"
#include "strategies/strategy_registry.h"
#include "ui/detached_process_starter.h"
#include "ui/draw_clock.h"
#include "ui/draw_timer.h"
#include "ui/main_window_controller.h"
#include "ui/shell_context.h"
#include "ui/toolkit.h"
#include "updater/carried_updater.h"

namespace pk10 {

// Where the program finds its service and its files. The product uses the defaults; tests
// point it at a service of their own.
struct AppOptions {
    std::string initUrl = defaultInitUrl();
    std::string fallbackUrl = defaultFallbackUrl();
    // Where "配置.ini" is looked for; empty: the current working directory at start.
    std::filesystem::path workingDirectory;
    // The program's own directory, where the updater is written and a left-over one removed;
    // empty: none (no update can be handed over).
    std::filesystem::path programDirectory;
    // Starts the updater; null: a detached process of its own.
    ProcessStarter* updaterStarter = nullptr;
    // What is written as the updater: the one the program carries.
    std::string_view updaterBytes = carriedUpdater();
    // Time sources; null: the system's.
    const Clock* clock = nullptr;
    const Uptime* uptime = nullptr;
};

// Everything the program keeps for its life, created in a fixed order (the status window, the
// start-up tasks, the main window, the application settings, the plan controller, the plan-type
// patterns, the service client, the draw clock, the newest draw, the draw history, the plan
// manager, the strategy registry) and handed down by reference.
class App final : private MainWindowHandlers {
public:
    App(Toolkit& toolkit, AppOptions options, ProductSettings product = productSettings());
    ~App() override;
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    // Module start-up, then loading the main window, whose creation handler runs the visible
    // start-up. False when start-up failed and the program is to end.
    bool start();
    // The process always ends with 0: after the window is closed, after a failed start-up,
    // after the user declined the update and after handing over to the updater.
    static int exitCode() { return 0; }

    MainWindow& window() { return *window_; }
    const ShellState& state() const { return state_; }
    const DrawHistory& history() const { return history_; }
    const LatestDraw& latest() const { return latest_; }
    const AppSettings& appSettings() const { return appSettings_; }
    const PlanManager& planManager() const { return planManager_; }
    const DrawClock& drawClock() const { return drawClock_; }
    const SettingsFile& settingsFile() const { return settings_; }

private:
    void onSwitchPeriods() override { controller_.onSwitchPeriods(); }
    void onClearPlans() override { controller_.onClearPlans(); }
    bool onAdvertNavigate(std::string_view address) override {
        return controller_.onAdvertNavigate(address);
    }
    void onDrawTimerTick() override { timer_.tick(); }

    void removeLeftoverUpdater();

    Toolkit* toolkit_;
    AppOptions options_;
    SystemClock systemClock_;
    SystemUptime systemUptime_;
    DetachedProcessStarter detachedStarter_;
    const Clock* clock_;
    const Uptime* uptime_;
    RandomGenerator random_;
    ShellState state_;
    ShellContext context_;
    CurlTransport transport_;

    std::unique_ptr<SplashWindow> splash_;
    StartupTasks tasks_;
    std::unique_ptr<MainWindow> window_;
    AppSettings appSettings_;
    PlanController planController_;
    PlanTypePatterns patterns_;
    ServiceClient serviceClient_;
    ServiceClientOperations service_;
    DrawClock drawClock_;
    LatestDraw latest_;
    DrawHistory history_;
    PlanManager planManager_;
    StrategyRegistry registry_;

    SettingsFile settings_;
    MainWindowController controller_;
    DrawTimer timer_;
};

}  // namespace pk10
