#pragma once

#include "plans/plan_box.h"
#include "ui/main_window.h"
#include "ui/shell_context.h"

namespace pk10 {

// Runs each start-up task as a temporary object and hands back its result.
class StartupTasks {
public:
    explicit StartupTasks(const ShellContext& context) : context_(&context) {}

    // Application initialisation; true when start-up may go on.
    bool runAppInit(MainWindow& window, PlanBox& planBox);
    // Draw refresh; true when start-up may go on.
    bool runDrawRefresh();

private:
    const ShellContext* context_;
};

}  // namespace pk10
