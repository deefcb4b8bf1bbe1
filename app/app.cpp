#include "app/app.h"

#include <system_error>

namespace pk10 {

App::App(Toolkit& toolkit, AppOptions options, ProductSettings product)
    : toolkit_(&toolkit),
      options_(std::move(options)),
      clock_(options_.clock != nullptr ? options_.clock : &systemClock_),
      uptime_(options_.uptime != nullptr ? options_.uptime : &systemUptime_),
      transport_(toolkit.eventPump()),
      splash_(toolkit.makeSplashWindow()),
      tasks_(context_),
      window_(toolkit.makeMainWindow(*this)),
      // The controller and the manager keep references only; their targets are created below
      // and are not used before start().
      planController_(planManager_, history_, *uptime_, toolkit.eventPump()),
      serviceClient_(transport_, *clock_, *uptime_, toolkit.eventPump()),
      service_(serviceClient_),
      drawClock_(service_, *clock_),
      planManager_(random_, *uptime_, registry_, patterns_),
      registry_(random_, &toolkit.messageBoxes()),
      controller_(context_, settings_, tasks_),
      timer_(drawClock_, *window_, toolkit.eventPump(), planController_, latest_, history_) {
    context_.state = &state_;
    context_.splash = splash_.get();
    context_.window = window_.get();
    context_.appSettings = &appSettings_;
    context_.plans = &planController_;
    context_.service = &service_;
    context_.clock = &drawClock_;
    context_.latest = &latest_;
    context_.history = &history_;
    context_.planManager = &planManager_;
    context_.messages = &toolkit.messageBoxes();
    context_.pump = &toolkit.eventPump();
    context_.opener = &toolkit.browserOpener();
    context_.initUrl = options_.initUrl;
    context_.fallbackUrl = options_.fallbackUrl;
    context_.starter =
        options_.updaterStarter != nullptr ? options_.updaterStarter : &detachedStarter_;
    context_.updaterBytes = options_.updaterBytes;
    state_.product = std::move(product);
}

App::~App() {
    // The windows go first, in the order they were made, so no handler runs into a half-gone
    // program.
    if (window_) {
        window_->setDrawTimerRunning(false);
    }
    splash_.reset();
    window_.reset();
}

void App::removeLeftoverUpdater() {
    if (options_.programDirectory.empty()) {
        return;
    }
    const std::filesystem::path updater =
        options_.programDirectory /
        std::filesystem::path(reinterpret_cast<const char8_t*>(kUpdaterFileName));
    state_.updaterPath = updater.string();
    std::error_code ignored;
    if (std::filesystem::exists(updater, ignored)) {
        std::filesystem::remove(updater, ignored);
    }
}

bool App::start() {
    removeLeftoverUpdater();
    std::filesystem::path directory = options_.workingDirectory;
    if (directory.empty()) {
        std::error_code error;
        directory = std::filesystem::current_path(error);
    }
    return controller_.create(directory);
}

}  // namespace pk10
