#pragma once

#include <string_view>

namespace pk10 {

// The read-only box that shows the plan. Showing replaces the whole text and puts the caret at
// its end, so the box shows the newest lines.
class PlanBox {
public:
    virtual ~PlanBox() = default;
    virtual void showText(std::string_view text) = 0;
};

}  // namespace pk10
