#pragma once

#include <QAbstractButton>
#include <QPixmap>

namespace pk10 {

// A button drawn from a picture, lighter while the mouse is over it.
class PictureButton final : public QAbstractButton {
    Q_OBJECT
public:
    PictureButton(const QPixmap& picture, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QPixmap picture_;
    bool hovered_ = false;
};

}  // namespace pk10
