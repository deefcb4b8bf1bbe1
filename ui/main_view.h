#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pk10 {

// What the program's logic writes into the main window, and the one setting it reads from it.
class MainView {
public:
    virtual ~MainView() = default;
    // Caption of 透明标签_开奖时间.
    virtual void setCountdownText(std::string_view text) = 0;
    // A new top row of 超级列表框_历史开奖.
    virtual void addHistoryRow(std::string_view period, std::string_view numbers) = 0;
    // 透明标签_当前期号 gets the caption; 透明标签_开奖1..10 get the numbers (see latestDrawParts).
    virtual void showLatestDraw(std::string_view periodCaption, std::string_view numbers) = 0;
    // 100 ms ticks while running, stopped otherwise.
    virtual void setDrawTimerRunning(bool running) = 0;
    // The text of 组合框_公式期数 as an integer; 0 for an empty or non-numeric text.
    virtual std::int32_t readFormulaPeriods() const = 0;
};

// The numbers text split at ","; at most ten parts. A short text gives fewer parts, and the
// labels beyond them keep what they showed.
std::vector<std::string> latestDrawParts(std::string_view numbers);

}  // namespace pk10
