#include "ui/app_init_task.h"

#include <cstdlib>
#include <string>

#include "service/app_settings.h"
#include "service/text_rules.h"

namespace pk10 {

bool AppInitTask::run(MainWindow& /*window*/, PlanBox& planBox) {
    if (!connect()) {
        return false;
    }
    if (!checkVersion(context_->appSettings->version, context_->appSettings->proupurl)) {
        return false;
    }
    context_->plans->bind(planBox, context_->state->product.planName);
    return true;
}

bool AppInitTask::connect() {
    ServiceOperations& service = *context_->service;
    const std::int32_t appId = context_->state->product.appId;
    if (!service.init(context_->initUrl, appId) && !service.init(context_->fallbackUrl, appId)) {
        context_->splash->closeStatus();
        context_->messages->showMessage(service.lastError());
        return false;
    }
    service.copySettings(*context_->appSettings);
    return true;
}

bool AppInitTask::checkVersion(std::string_view newVersion, std::string_view /*updateAddress*/) {
    // Start-up goes on whatever the service offers: the program carries no updater to hand over
    // to, and an update must never be pretended.
    (void)(versionNumber(newVersion) > versionNumber(context_->state->product.version));
    return true;
}

float versionNumber(std::string_view text) {
    const std::string folded = foldFullWidth(text);
    // strtof stops at the first character that cannot continue a number and gives 0 for none.
    return std::strtof(folded.c_str(), nullptr);
}

}  // namespace pk10
