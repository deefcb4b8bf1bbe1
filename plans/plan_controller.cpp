#include "plans/plan_controller.h"

#include <algorithm>

#include "plans/plan_statistics.h"

namespace pk10 {

void PlanController::bind(PlanBox& box, std::string_view planName) {
    box_ = &box;
    shownPlanName_ = planName;
}

void PlanController::onNewDraw(const DrawRecord& record) {
    // A refused draw changes nothing; the plan is shown all the same.
    manager_->feedDraw(record.period, record.numbers,
                       static_cast<std::int32_t>(uptime_->milliseconds()), "");
    showPlan();
}

void PlanController::showPlan() {
    if (box_ != nullptr) {
        box_->showText(planBoxText(*manager_, shownPlanName_));
    }
    pump_->pumpOnce();
}

void PlanController::rebuild(int span) {
    manager_->clearEntries();
    manager_->setPlanSpan(span, "", false);
    if (history_->empty()) {
        showPlan();
        return;
    }
    const std::size_t n = std::min<std::size_t>(50, history_->size());
    for (std::size_t i = n; i >= 2; --i) {
        const DrawRecord& draw = (*history_)[i - 1];
        manager_->feedDraw(draw.period, draw.numbers, draw.drawValue, (*history_)[i - 2].numbers);
    }
    onNewDraw(history_->front());
}

}  // namespace pk10
