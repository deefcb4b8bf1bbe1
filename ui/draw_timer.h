#pragma once

#include "plans/plan_controller.h"
#include "service/draw_record.h"
#include "service/event_pump.h"
#include "ui/draw_clock.h"
#include "ui/main_view.h"

namespace pk10 {

// The handler of 时钟_剩余开奖时间 (100 ms): on every third tick it updates the countdown and,
// once the due time has passed, polls; a new draw goes to the labels, the plan, the draw
// history and the top of the history list, in that order.
class DrawTimer {
public:
    DrawTimer(DrawClock& clock, MainView& view, EventPump& pump, PlanController& plans,
              LatestDraw& latest, DrawHistory& history)
        : clock_(&clock),
          view_(&view),
          pump_(&pump),
          plans_(&plans),
          latest_(&latest),
          history_(&history) {}

    void tick();

private:
    DrawClock* clock_;
    MainView* view_;
    EventPump* pump_;
    PlanController* plans_;
    LatestDraw* latest_;
    DrawHistory* history_;
    int tickCounter_ = 0;
};

}  // namespace pk10
