#pragma once

#include <string_view>

#include "plans/plan_box.h"
#include "ui/main_window.h"
#include "ui/shell_context.h"

namespace pk10 {

// The first start-up task: connect to the service (with its fallback), take over the
// application settings, check the version, bind the plan controller to the plan box.
class AppInitTask {
public:
    explicit AppInitTask(const ShellContext& context) : context_(&context) {}

    // True when start-up may go on.
    bool run(MainWindow& window, PlanBox& planBox);
    bool connect();
    bool checkVersion(std::string_view newVersion, std::string_view updateAddress);

private:
    const ShellContext* context_;
};

// A version text as a number: full-width forms folded, then the leading decimal number as the
// C library reads it; 0 when there is none.
float versionNumber(std::string_view text);

}  // namespace pk10
