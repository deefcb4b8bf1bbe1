#include "plans/plan_manager.h"

#include <limits>

#include "service/crypto.h"
#include "service/gbk.h"
#include "service/text_rules.h"

namespace pk10 {
namespace {

// Seeds are sums of periods, name seeds, draw values and uptimes; they keep the low 32 bits.
std::int32_t wrap32(std::int64_t value) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

std::uint32_t leadingHex(std::string_view name, std::size_t digits) {
    // The seeds are defined on the GBK bytes; a name GBK cannot hold keeps its UTF-8 bytes.
    const auto gbk = utf8ToGbk(name);
    const std::string hex = md5Hex(gbk ? std::string_view(*gbk) : name);
    return static_cast<std::uint32_t>(std::stoul(hex.substr(0, digits), nullptr, 16));
}

// The refused plan types: numbers a draw cannot hold.
bool groupSizesFit(std::string_view sizes) {
    const auto parts = splitText(sizes, "*");
    if (parts.size() > 10) {
        return false;
    }
    for (const auto& part : parts) {
        if (textToInt(part) > 10) {
            return false;
        }
    }
    return true;
}

int positionFromWord(std::string_view word) {
    if (word == "冠") {
        return 1;
    }
    if (word == "亚") {
        return 2;
    }
    if (word == "季") {
        return 3;
    }
    return textToInt(word);
}

}  // namespace

std::int32_t PlanManager::planNameSeed(std::string_view name) {
    return static_cast<std::int32_t>(leadingHex(name, 6));
}

std::int32_t PlanManager::managerNameSeed(std::string_view name) {
    const auto value = static_cast<std::int32_t>(leadingHex(name, 8));
    return value == std::numeric_limits<std::int32_t>::min() ? value : (value < 0 ? -value : value);
}

void PlanManager::clear() {
    name_.clear();
    nameSeed_ = 0;
    plans_.clear();
    maxEntries_ = 0;
    hitRate_ = 0;
    resetAfterMisses_ = 1;
}

void PlanManager::clearEntries() {
    for (auto& plan : plans_) {
        plan.entries.clear();
    }
}

void PlanManager::setPlanSpan(std::int32_t value, std::string_view name, bool one) {
    if (!one) {
        for (auto& plan : plans_) {
            plan.span = value;
        }
    } else if (Plan* plan = mutablePlanAt(findPlan(name))) {
        plan->span = value;
    }
}

void PlanManager::setPlanDisplayStyle(std::int32_t value, std::string_view name, bool one) {
    if (!one) {
        for (auto& plan : plans_) {
            plan.displayStyle = value;
        }
    } else if (Plan* plan = mutablePlanAt(findPlan(name))) {
        plan->displayStyle = value;
    }
}

void PlanManager::setName(std::string_view name) {
    name_ = name;
    nameSeed_ = managerNameSeed(name);
}

void PlanManager::addPlan(const ForecastStrategy& prototype) {
    Plan plan;
    plan.strategy = prototype.clone();
    refreshPlan(plan);
    plans_.push_back(std::move(plan));
}

void PlanManager::removePlan(std::string_view name) {
    const int index = findPlan(name);
    if (index != 0) {
        plans_.erase(plans_.begin() + (index - 1));
    }
}

void PlanManager::refreshPlan(Plan& plan) const {
    plan.name = plan.strategy->name();
    plan.displayStyle = plan.strategy->displayStyle();
    plan.span = plan.strategy->span();
    plan.nameSeed = planNameSeed(plan.name);
}

bool PlanManager::parseDraw(std::string_view numbers, DrawNumbers& out) {
    out = splitText(numbers, ",");
    return out.size() == 10;
}

std::string PlanManager::offsetPeriod(std::string_view period, std::int32_t n) {
    return std::to_string(wrap32(std::int64_t{textToInt(period)} + n));
}

bool PlanManager::addPlanByType(std::string_view type, std::string_view name, std::int32_t span) {
    if (type.empty()) {
        return false;
    }
    const ForecastStrategy* prototype = nullptr;
    if (auto pick = patterns_->match(PlanTypePatterns::PositionPick, type)) {
        std::int32_t count = textToInt((*pick)[1]);
        if (count == 0) {
            count = 3;
        }
        if (count > 10) {
            return false;  // ten cars cannot give more distinct numbers
        }
        registry_->positionPick.configure(positionFromWord((*pick)[0]), count, name, span);
        prototype = &registry_->positionPick;
    } else if (auto sizes = patterns_->match(PlanTypePatterns::TopPositionsGroup, type)) {
        if (!groupSizesFit((*sizes)[1])) {
            return false;
        }
        registry_->topPositionsGroup.configure(1, (*sizes)[1], name);
        prototype = &registry_->topPositionsGroup;
    } else if (auto car = patterns_->match(PlanTypePatterns::CarPosition, type)) {
        registry_->carPosition.configure(textToInt((*car)[0]), 5, name, span);
        prototype = &registry_->carPosition;
    } else if (auto word = patterns_->match(PlanTypePatterns::PositionWord, type)) {
        const int position = positionFromWord((*word)[0]);
        if (position < 1 || position > 10) {
            return false;
        }
        if ((*word)[1] == "单双") {
            registry_->positionOddEven.configure(position, name);
            prototype = &registry_->positionOddEven;
        } else {
            registry_->positionBigSmall.configure(position, name);
            prototype = &registry_->positionBigSmall;
        }
    } else if (auto sum = patterns_->match(PlanTypePatterns::SumWord, type)) {
        if ((*sum)[1] == "单双") {
            registry_->sumOddEven.configure(1, 2, name);
            prototype = &registry_->sumOddEven;
        } else {
            registry_->sumBigSmall.configure(1, 2, name);
            prototype = &registry_->sumBigSmall;
        }
    } else if (type == "前5独胆") {
        registry_->singleNumber.configure(1, 5, type);
        prototype = &registry_->singleNumber;
    } else {
        return false;
    }
    addPlan(*prototype);
    setPlanSpan(span, name, true);
    return true;
}

bool PlanManager::feedDraw(std::string_view period, std::string_view numbers, std::int32_t seedPart,
                           std::string_view nextNumbers) {
    DrawNumbers drawn;
    if (!parseDraw(numbers, drawn)) {
        return false;
    }
    DrawNumbers known;
    if (!nextNumbers.empty() && !parseDraw(nextNumbers, known)) {
        return false;
    }
    processDraw(period, numbers, drawn, seedPart, known);
    return true;
}

void PlanManager::processDraw(std::string_view period, std::string_view numbersText,
                              const DrawNumbers& numbers, std::int32_t seedPart,
                              const DrawNumbers& nextNumbers) {
    if (seedPart == 0) {
        return;
    }
    const std::int32_t p = textToInt(period);
    const std::int32_t seed = wrap32(std::int64_t{nameSeed_} + p + seedPart);
    for (auto& plan : plans_) {
        if (plan.entries.empty()) {
            appendEntry(plan, offsetPeriod(period, -1), seed, nextNumbers);
        }
        PlanEntry& open = plan.entries.back();
        open.resultPeriod = offsetPeriod(period, 0);
        open.resultDraw = numbersText;
        if (plan.strategy->验证预测(numbers, open.forecast)) {
            open.state = EntryState::Hit;
            appendEntry(plan, period, seed, nextNumbers);
        } else if (p >= textToInt(open.lastPeriod)) {
            // A final miss. A draw past the last covered period (the draws skipped one) settles
            // the entry the same way, so a gap cannot leave the plan waiting for ever.
            open.state = EntryState::Miss;
            if (resetAfterMisses_ != 0 && hasRecentStates(plan, EntryState::Miss, 3, 2, false)) {
                plan.entries.clear();
            }
            appendEntry(plan, period, seed, nextNumbers);
        } else {
            open.state = EntryState::Waiting;
        }
    }
}

bool PlanManager::hasRecentStates(const Plan& plan, EntryState state, int window, int need,
                                  bool consecutive) const {
    const int count = plan.entryCount();
    if (count < need) {
        return false;
    }
    const int start = std::max(1, count - window + 1);
    int found = 0;
    for (int i = count; i >= start; --i) {
        if (plan.entries[static_cast<std::size_t>(i - 1)].state == state) {
            if (++found == need) {
                return true;
            }
        } else if (consecutive) {
            return false;
        }
    }
    return false;
}

void PlanManager::appendEntry(Plan& plan, std::string_view period, std::int32_t seed,
                              const DrawNumbers& knownNumbers) {
    PlanEntry entry;
    entry.firstPeriod = offsetPeriod(period, 1);
    entry.lastPeriod = offsetPeriod(period, plan.span);
    if (knownNumbers.empty()) {
        entry.forecast = plan.strategy->取下期预测(wrap32(std::int64_t{seed} + plan.nameSeed));
    } else {
        // The draw is already known: pick the forecast so the series shows the target rate.
        std::int32_t target = hitRate_;
        if (hasRecentStates(plan, EntryState::Miss, 2, 2, true)) {
            target = 100;
        } else if (hasRecentStates(plan, EntryState::Hit, 5, 5, true)) {
            target = 0;
        }
        const bool wantHit = random_->between(0, 100) <= target;
        std::int32_t acc = seed;
        for (int k = 1; k <= 10; ++k) {
            acc = wrap32(std::int64_t{acc} + uptime_->milliseconds());
            entry.forecast = plan.strategy->取下期预测(wrap32(std::int64_t{acc} + k));
            if (plan.strategy->验证预测(knownNumbers, entry.forecast) == wantHit) {
                break;
            }
        }
    }
    if (maxEntries_ != 0 && plan.entryCount() >= maxEntries_) {
        plan.entries.pop_front();
    }
    plan.entries.push_back(std::move(entry));
}

int PlanManager::findPlan(std::string_view name) const {
    for (std::size_t i = 0; i < plans_.size(); ++i) {
        if (plans_[i].name == name) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

const Plan* PlanManager::planAt(int index) const {
    if (index < 1 || index > planCount()) {
        return nullptr;
    }
    return &plans_[static_cast<std::size_t>(index - 1)];
}

Plan* PlanManager::mutablePlanAt(int index) {
    return const_cast<Plan*>(planAt(index));
}

std::string PlanManager::planNameAt(int index) const {
    const Plan* plan = planAt(index);
    return plan ? plan->name : std::string();
}

std::string PlanManager::renderPlanAt(int index) const {
    const Plan* plan = planAt(index);
    return plan ? renderPlan(*plan, name_) : std::string();
}

std::string PlanManager::renderPlanNamed(std::string_view name) const {
    return renderPlanAt(findPlan(name));
}

void PlanManager::copyPlanAt(int index, Plan& out) const {
    if (const Plan* plan = planAt(index)) {
        out = *plan;
    }
}

void PlanManager::copyPlanNamed(std::string_view name, Plan& out) const {
    copyPlanAt(findPlan(name), out);
}

std::string PlanManager::currentForecastAt(int index) const {
    const Plan* plan = planAt(index);
    return plan && !plan->entries.empty() ? plan->entries.back().forecast : std::string();
}

std::string PlanManager::currentForecastNamed(std::string_view name) const {
    return currentForecastAt(findPlan(name));
}

}  // namespace pk10
