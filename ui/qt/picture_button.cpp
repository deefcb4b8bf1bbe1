#include "ui/qt/picture_button.h"

#include <QPainter>

namespace pk10 {

PictureButton::PictureButton(const QPixmap& picture, QWidget* parent)
    : QAbstractButton(parent), picture_(picture) {
    setCursor(Qt::PointingHandCursor);
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(rect(), picture_);
    if (hovered_ || isDown()) {
        painter.fillRect(rect(), QColor(255, 255, 255, isDown() ? 90 : 50));
    }
}

void PictureButton::enterEvent(QEnterEvent*) {
    hovered_ = true;
    update();
}

void PictureButton::leaveEvent(QEvent*) {
    hovered_ = false;
    update();
}

}  // namespace pk10
