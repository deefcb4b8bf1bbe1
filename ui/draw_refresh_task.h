#pragma once

#include <cstdint>

#include "ui/shell_context.h"

namespace pk10 {

// The second start-up task: add the product's plan, point the advert box at its page, make the
// first draw poll, load the 50 most recent draws, fill the window and build the plan.
class DrawRefreshTask {
public:
    static constexpr std::int32_t kHistorySize = 50;

    explicit DrawRefreshTask(const ShellContext& context) : context_(&context) {}

    // True when start-up may go on.
    bool run();
    bool loadDraws();

private:
    const ShellContext* context_;
};

// Replaces `list` by exactly `count` records filled from the service's draw table, newest
// first (records past the table's last row stay empty). On failure shows
// "查询最近开奖数据失败！" with the reason and leaves `list` as it was.
bool fetchHistory(std::int32_t count, DrawHistory& list, ServiceOperations& service,
                  MessageBoxes& messages);

}  // namespace pk10
