#include "plans/plan_statistics.h"

#include <cmath>
#include <cstdio>

namespace pk10 {

PlanStatistics PlanStatistics::of(const Plan* plan) {
    PlanStatistics statistics;
    if (plan == nullptr) {
        return statistics;
    }
    statistics.total = plan->entryCount();
    for (const PlanEntry& entry : plan->entries) {
        if (entry.state == EntryState::Hit) {
            ++statistics.hits;
        } else if (entry.state == EntryState::Miss) {
            ++statistics.misses;
        }
    }
    return statistics;
}

std::string formatHitRate(int total, int hits) {
    if (hits == 0) {
        return "0";
    }
    const double rate = 100.0 / (static_cast<double>(total) / hits);
    // The tiny bias makes values such as 0.125 that sit just below a half in binary round up.
    const double scaled = rate * 100.0 + 1e-12;
    double whole = std::floor(scaled);
    if (scaled - whole >= 0.5) {
        whole += 1.0;
    }
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.13g", whole / 100.0);
    return buffer;
}

std::string statisticsSentence(const PlanStatistics& s) {
    return "当前计划统计：总计" + std::to_string(s.total) + "期，中" + std::to_string(s.hits) +
           "期，挂" + std::to_string(s.misses) + "期，中奖率为" + formatHitRate(s.total, s.hits) +
           "%\r\n彩票有风险，投注需谨慎！";
}

std::string planBoxText(const PlanManager& manager, std::string_view planName) {
    const Plan* plan = manager.planAt(manager.findPlan(planName));
    return manager.renderPlanNamed(planName) + "\r\n\r\n" +
           statisticsSentence(PlanStatistics::of(plan));
}

}  // namespace pk10
