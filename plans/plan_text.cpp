#include "plans/plan_manager.h"

namespace pk10 {

// The plan box text: one line per entry, oldest first, e.g.
//   101→103期 冠军单双【单】 102期→中
// Plans that show their forecast once (display style 2) end with a blank line and the current
// forecast indented by one space.
std::string PlanManager::renderPlan(const Plan& plan, std::string_view prefix) const {
    std::string text;
    const bool oneLine = plan.displayStyle != 2;
    text.reserve(plan.entries.size() * (plan.name.size() + prefix.size() + 48));
    for (const PlanEntry& entry : plan.entries) {
        text += entry.firstPeriod;
        if (plan.span != 1) {
            text += "→";
            text += entry.lastPeriod;
        }
        text += "期 ";
        text += prefix;
        text += plan.name;
        if (oneLine) {
            text += "【";
            text += entry.forecast;
            text += "】 ";
        } else {
            text += " ";
        }
        switch (entry.state) {
            case EntryState::Miss:
                text += entry.resultPeriod;
                text += "期→无";
                break;
            case EntryState::Hit:
                text += entry.resultPeriod;
                text += "期→中";
                break;
            default:
                text += "等开";
                break;
        }
        text += "\r\n";
    }
    if (!oneLine && !plan.entries.empty()) {
        text += "\r\n\r\n ";
        text += plan.entries.back().forecast;
        text += "\r\n";
    }
    return text;
}

}  // namespace pk10
