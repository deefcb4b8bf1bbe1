#include "ui/main_window_controller.h"

#include <string>

#include "app/startup_tasks.h"
#include "service/text_rules.h"

namespace pk10 {

bool MainWindowController::create(const std::filesystem::path& workingDirectory) {
    const ShellContext& c = *context_;
    ShellState& state = *c.state;
    MainWindow& window = *c.window;

    *settings_ = SettingsFile::inDirectory(workingDirectory, state.product.title);
    settings_->setHidden();
    const std::int32_t stored = textToInt(settings_->read(kFormulaPeriodsKey, "3"));
    window.selectFormulaItem(stored - 1);
    state.formulaPeriods = window.selectedFormulaItem() + 1;

    c.splash->showStatus("正在连接服务器……");
    window.setTitle(state.product.title);
    window.setPeriodPanelWhite();
    window.clearHistoryRows();

    if (!tasks_->runAppInit(window, window.planBox()) || !tasks_->runDrawRefresh()) {
        window.destroyWindow();
        return false;
    }
    window.setDrawTimerRunning(true);
    state.startupDone = true;
    c.splash->closeStatus();
    window.showAndActivate();
    return true;
}

void MainWindowController::onSwitchPeriods() {
    ShellState& state = *context_->state;
    const std::int32_t n = context_->window->readFormulaPeriods();
    if (n == state.formulaPeriods) {
        return;
    }
    state.formulaPeriods = n;
    settings_->write(kFormulaPeriodsKey, std::to_string(n));
    context_->plans->rebuild(state.formulaPeriods);
}

void MainWindowController::onClearPlans() {
    context_->plans->regenerate(context_->state->formulaPeriods);
    context_->messages->showMessage("清理成功！计划已经重新获取。");
}

bool MainWindowController::onAdvertNavigate(std::string_view address) {
    if (!context_->state->startupDone) {
        return true;
    }
    context_->opener->open(address);
    return false;
}

}  // namespace pk10
