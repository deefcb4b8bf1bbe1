#include "app/startup_tasks.h"

#include "ui/app_init_task.h"
#include "ui/draw_refresh_task.h"

namespace pk10 {

bool StartupTasks::runAppInit(MainWindow& window, PlanBox& planBox) {
    AppInitTask task(*context_);
    return task.run(window, planBox);
}

bool StartupTasks::runDrawRefresh() {
    DrawRefreshTask task(*context_);
    return task.run();
}

}  // namespace pk10
