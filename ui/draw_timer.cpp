#include "ui/draw_timer.h"

namespace pk10 {

void DrawTimer::tick() {
    if (tickCounter_ < 2) {
        ++tickCounter_;
        return;
    }
    tickCounter_ = 0;
    const std::string text = clock_->countdownText();
    if (!text.empty()) {
        view_->setCountdownText(text);
        return;
    }
    view_->setCountdownText("正在开奖……");
    pump_->pumpOnce();
    if (!clock_->poll(*latest_)) {
        return;
    }
    const DrawRecord draw = latest_->draw;
    view_->showLatestDraw("当前期号：" + draw.period, draw.numbers);
    pump_->pumpOnce();
    plans_->onNewDraw(draw);
    history_->push_front(draw);
    view_->addHistoryRow(draw.period, draw.numbers);
}

}  // namespace pk10
