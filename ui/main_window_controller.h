#pragma once

#include <filesystem>
#include <string_view>

#include "app/settings_file.h"
#include "ui/shell_context.h"

namespace pk10 {

class StartupTasks;

// The main window's creation handler (the visible start-up) and its handlers for the user's
// actions that reach the program's logic.
class MainWindowController {
public:
    static constexpr std::string_view kFormulaPeriodsKey = "公式期数";

    MainWindowController(const ShellContext& context, SettingsFile& settings, StartupTasks& tasks)
        : context_(&context), settings_(&settings), tasks_(&tasks) {}

    // Runs the start-up with the settings file in `workingDirectory`. False when start-up
    // failed: the window is then destroyed and the program ends with exit code 0.
    bool create(const std::filesystem::path& workingDirectory);

    // 切换: stores and applies the selected formula period count when it changed.
    void onSwitchPeriods();
    // 清理计划并重新获取.
    void onClearPlans();
    // 超文本浏览框1 about to navigate: true lets the navigation proceed. After start-up every
    // address is handed to the desktop's browser and the box keeps its page.
    bool onAdvertNavigate(std::string_view address);

private:
    const ShellContext* context_;
    SettingsFile* settings_;
    StartupTasks* tasks_;
};

}  // namespace pk10
