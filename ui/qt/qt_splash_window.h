#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>

#include "service/event_pump.h"
#include "ui/splash_window.h"

class QLabel;

namespace pk10 {

// The status window, 300 × 184 at (50, 50): a picture (图片框1) and a message (标签1).
class StatusWidget final : public QWidget {
    Q_OBJECT
public:
    StatusWidget(std::function<void()> onUserClose, EventPump& pump);
    void setMessage(const QString& message);
    QString message() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    std::function<void()> onUserClose_;
    EventPump* pump_;
    QLabel* message_;
    bool activated_ = false;
};

class QtSplashWindow final : public SplashWindow {
public:
    // `onUserClose` runs when the user closes the window: the program ends.
    QtSplashWindow(std::function<void()> onUserClose, EventPump& pump)
        : onUserClose_(std::move(onUserClose)), pump_(&pump) {}
    ~QtSplashWindow() override;

    bool showStatus(std::string_view message) override;
    bool closeStatus() override;

    StatusWidget* widget() const { return widget_; }

private:
    std::function<void()> onUserClose_;
    EventPump* pump_;
    QPointer<StatusWidget> widget_;
};

}  // namespace pk10
