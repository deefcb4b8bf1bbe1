#include "ui/app_init_task.h"

#include <fcntl.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
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

bool AppInitTask::checkVersion(std::string_view newVersion, std::string_view updateAddress) {
    const ProductSettings& product = context_->state->product;
    if (!(versionNumber(newVersion) > versionNumber(product.version))) {
        return true;
    }
    context_->splash->closeStatus();
    context_->pump->pumpOnce();
    const std::string prompt =
        product.title + "已经更新至" + std::string(newVersion) + "\r\n点击确定立即更新";
    if (!context_->messages->askOkCancel(prompt)) {
        return false;
    }
    launchUpdater(product.title, product.version, newVersion, updateAddress,
                  product.exeBaseName + ".exe");
    return false;
}

bool AppInitTask::launchUpdater(std::string_view title, std::string_view version,
                                std::string_view newVersion, std::string_view address,
                                std::string_view programFile) {
    const std::string& updaterPath = context_->state->updaterPath;
    if (updaterPath.empty() || context_->starter == nullptr) {
        return false;
    }
    const std::filesystem::path updater(updaterPath);
    // An updater already there is started as it is. A failed write needs no handling of its
    // own: starting then fails too, and the program ends all the same.
    writeNewExecutable(updater, context_->updaterBytes);
    return context_->starter->start(
        updater, {std::string(title), std::string(version), std::string(newVersion),
                  std::string(address), std::string(programFile)});
}

float versionNumber(std::string_view text) {
    static const locale_t cLocale = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    const std::string folded = foldFullWidth(text);
    // strtof stops at the first character that cannot continue a number and gives 0 for none.
    return ::strtof_l(folded.c_str(), nullptr, cLocale);
}

bool writeNewExecutable(const std::filesystem::path& path, std::string_view bytes) {
    // O_EXCL also refuses a link, so nothing is written through one.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0755);
    if (fd < 0) {
        return false;
    }
    bool ok = ::fchmod(fd, 0755) == 0;
    std::size_t written = 0;
    while (ok && written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        ok = n > 0;
        written += ok ? static_cast<std::size_t>(n) : 0;
    }
    ok = ::close(fd) == 0 && ok;
    if (!ok) {
        ::unlink(path.c_str());
    }
    return ok;
}

}  // namespace pk10
