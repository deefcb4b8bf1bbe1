#include "plans/plan.h"

namespace pk10 {

Plan::Plan(const Plan& other)
    : name(other.name),
      strategy(other.strategy ? other.strategy->clone() : nullptr),
      nameSeed(other.nameSeed),
      entries(other.entries),
      displayStyle(other.displayStyle),
      span(other.span) {}

Plan& Plan::operator=(const Plan& other) {
    if (this != &other) {
        Plan copy(other);
        *this = std::move(copy);
    }
    return *this;
}

}  // namespace pk10
