#pragma once

#include <string>
#include <string_view>

#include "plans/plan_manager.h"

namespace pk10 {

// How a plan has done: every entry counts in the total, the open one neither as hit nor miss.
struct PlanStatistics {
    int total = 0;
    int hits = 0;
    int misses = 0;

    static PlanStatistics of(const Plan* plan);
};

// 100 / (total / hits) rounded to two decimals, halves away from zero, without trailing zeros;
// "0" with no hits.
std::string formatHitRate(int total, int hits);

// "当前计划统计：总计…期，中…期，挂…期，中奖率为…%" and the risk line.
std::string statisticsSentence(const PlanStatistics& statistics);

// What the plan box shows for a plan: its text, a blank line and the statistics sentence.
std::string planBoxText(const PlanManager& manager, std::string_view planName);

}  // namespace pk10
