#include "ui/draw_refresh_task.h"

#include "service/app_settings.h"

namespace pk10 {

bool DrawRefreshTask::run() {
    const ShellContext& c = *context_;
    c.splash->closeStatus();
    const std::int32_t n = c.window->readFormulaPeriods();
    c.planManager->addPlanByType(c.state->product.planType, c.state->product.planName, n);
    c.planManager->setMaxEntries(0);
    c.planManager->setHitRate(80);
    c.planManager->setResetAfterMisses(0);
    return loadDraws();
}

bool DrawRefreshTask::loadDraws() {
    const ShellContext& c = *context_;
    c.pump->pumpOnce();
    c.window->setAdvertAddress(c.appSettings->advert1);
    c.pump->pumpOnce();
    LatestDraw newest;
    c.clock->poll(newest);
    fetchHistory(kHistorySize, *c.history, *c.service, *c.messages);
    if (c.history->empty()) {
        c.messages->showMessage("获取网络开奖数据失败！");
        return false;
    }
    c.window->showLatestDraw("当前期号：" + newest.draw.period, newest.draw.numbers);
    for (auto it = c.history->rbegin(); it != c.history->rend(); ++it) {
        c.window->addHistoryRow(it->period, it->numbers);
    }
    c.plans->rebuild(c.state->formulaPeriods);
    return true;
}

bool fetchHistory(std::int32_t count, DrawHistory& list, ServiceOperations& service,
                  MessageBoxes& messages) {
    DrawTable table;
    if (!service.selectDraw(count, table)) {
        messages.showMessage("查询最近开奖数据失败！" + service.lastError());
        return false;
    }
    // A table with fewer than five columns carries no draws.
    std::vector<DrawRecord> rows;
    if (table.rows > 0) {
        auto records = drawRecordsFromTable(table);
        if (!records) {
            messages.showMessage("查询最近开奖数据失败！" + service.lastError());
            return false;
        }
        rows = std::move(*records);
    }
    list.assign(static_cast<std::size_t>(count), DrawRecord{});
    // Rows past `count` are dropped: the list holds exactly `count` records.
    for (std::size_t r = 0; r < rows.size() && r < list.size(); ++r) {
        list[r] = std::move(rows[r]);
    }
    return true;
}

}  // namespace pk10
