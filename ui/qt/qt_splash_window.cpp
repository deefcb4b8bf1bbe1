#include "ui/qt/qt_splash_window.h"

#include <QCloseEvent>
#include <QLabel>

namespace pk10 {

StatusWidget::StatusWidget(std::function<void()> onUserClose, EventPump& pump)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      onUserClose_(std::move(onUserClose)),
      pump_(&pump) {
    setObjectName(QStringLiteral("状态窗口"));
    setAttribute(Qt::WA_QuitOnClose, false);
    setGeometry(50, 50, 300, 184);
    setStyleSheet(QStringLiteral("StatusWidget { background: #1c3d6e; }"));
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("图片框1"));
    picture->setGeometry(0, 51, 300, 93);
    picture->setPixmap(QPixmap(QStringLiteral(":/pk10/status.png")));
    picture->setScaledContents(true);
    message_ = new QLabel(QStringLiteral("正在获取网络数据,请稍后……"), this);
    message_->setObjectName(QStringLiteral("标签1"));
    message_->setGeometry(0, 144, 300, 40);
    message_->setAlignment(Qt::AlignCenter);
    message_->setStyleSheet(QStringLiteral("color: white; font-size: 14px;"));
}

void StatusWidget::setMessage(const QString& message) {
    message_->setText(message);
}

QString StatusWidget::message() const {
    return message_->text();
}

void StatusWidget::closeEvent(QCloseEvent* event) {
    event->accept();
    if (onUserClose_) {
        onUserClose_();
    }
}

bool StatusWidget::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::WindowActivate && !activated_) {
        activated_ = true;
        pump_->pumpOnce();
    }
    return handled;
}

QtSplashWindow::~QtSplashWindow() {
    delete widget_.data();
}

bool QtSplashWindow::showStatus(std::string_view message) {
    if (widget_) {
        return false;
    }
    widget_ = new StatusWidget(onUserClose_, *pump_);
    widget_->setMessage(QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size())));
    widget_->show();
    pump_->pumpOnce();
    return true;
}

bool QtSplashWindow::closeStatus() {
    if (!widget_) {
        return false;
    }
    // Deleting the window does not raise the user's close request.
    delete widget_.data();
    return true;
}

}  // namespace pk10
