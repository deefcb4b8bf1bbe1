#pragma once

#include <filesystem>
#include <string_view>

#include "plans/plan_box.h"
#include "ui/main_window.h"
#include "ui/shell_context.h"

namespace pk10 {

// The first start-up task: connect to the service (with its fallback), take over the
// application settings, check the version (offering the update), bind the plan controller to
// the plan box.
class AppInitTask {
public:
    explicit AppInitTask(const ShellContext& context) : context_(&context) {}

    // True when start-up may go on.
    bool run(MainWindow& window, PlanBox& planBox);
    bool connect();
    // True when start-up may go on: the service's version is not newer. Otherwise the user is
    // asked; on OK the updater is started. Either way the program is then to end with 0.
    bool checkVersion(std::string_view newVersion, std::string_view updateAddress);
    // Writes the updater beside the program when it is not there yet and starts it with the
    // five arguments. The caller ends the program afterwards, whether this worked or not.
    bool launchUpdater(std::string_view title, std::string_view version,
                       std::string_view newVersion, std::string_view address,
                       std::string_view programFile);

private:
    const ShellContext* context_;
};

// A version text as a number: full-width forms folded, then the leading decimal number as the
// C library reads it in the "C" locale (the desktop's locale may use a decimal comma); 0 when
// there is none.
float versionNumber(std::string_view text);

// Creates `path` with `bytes` and mode 0755 unless something (a file, a link) is already
// there; a failed write leaves nothing behind.
bool writeNewExecutable(const std::filesystem::path& path, std::string_view bytes);

}  // namespace pk10
