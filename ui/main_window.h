#pragma once

#include <string_view>

#include "plans/plan_box.h"
#include "ui/main_view.h"

namespace pk10 {

// The main window as its creation handler sees it: MainView plus the controls that only the
// start-up sequence touches.
class MainWindow : public MainView {
public:
    // Window caption and 透明标签_窗口标题.
    virtual void setTitle(std::string_view title) = 0;
    // Selects item `index` (0-based) of 组合框_公式期数; an index without an item selects none.
    virtual void selectFormulaItem(int index) = 0;
    // The selected item's index, -1 when none is selected.
    virtual int selectedFormulaItem() const = 0;
    // Background of 画板_期数设置.
    virtual void setPeriodPanelWhite() = 0;
    virtual void clearHistoryRows() = 0;
    // 编辑框_计划.
    virtual PlanBox& planBox() = 0;
    // Address of 超文本浏览框1; the box starts loading it.
    virtual void setAdvertAddress(std::string_view address) = 0;
    virtual void showAndActivate() = 0;
    virtual void destroyWindow() = 0;
};

}  // namespace pk10
