#pragma once

#include <string>
#include <string_view>

#include "plans/plan_box.h"
#include "plans/plan_manager.h"
#include "service/clock.h"
#include "service/draw_record.h"
#include "service/event_pump.h"

namespace pk10 {

// Connects the plan manager with the window: feeds each new draw, rebuilds the plans from the
// draw history and shows the product's plan with its statistics in the plan box.
class PlanController {
public:
    PlanController(PlanManager& manager, const DrawHistory& history, const Uptime& uptime,
                   EventPump& pump)
        : manager_(&manager), history_(&history), uptime_(&uptime), pump_(&pump) {}

    void bind(PlanBox& box, std::string_view planName);
    // Feeds a draw as it arrives (seed part: the uptime), then shows the plan.
    void onNewDraw(const DrawRecord& record);
    void showPlan();
    void regenerate(int span) { rebuild(span); }
    // Drops all entries, sets every plan's span and replays the newest 50 draws of the history,
    // each with the numbers of the draw that followed it; the newest is fed as a new draw.
    void rebuild(int span);

    const std::string& shownPlanName() const { return shownPlanName_; }

private:
    PlanManager* manager_;
    const DrawHistory* history_;
    const Uptime* uptime_;
    EventPump* pump_;
    PlanBox* box_ = nullptr;
    std::string shownPlanName_;
};

}  // namespace pk10
