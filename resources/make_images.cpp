// Draws the window pictures of resources/ (drawn for this project; same licence as the code).
// Build and run by hand when a picture is to change:
//   g++ -std=c++20 -fPIC resources/make_images.cpp $(pkg-config --cflags --libs Qt6Gui) -o /tmp/mk
//   QT_QPA_PLATFORM=offscreen /tmp/mk resources
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

static void save(const QImage& image, const QString& dir, const char* name) {
    image.save(dir + "/" + name);
}

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QString dir = argc > 1 ? argv[1] : ".";

    QImage bg(1049, 700, QImage::Format_RGB32);
    {
        QPainter p(&bg);
        p.setRenderHint(QPainter::Antialiasing);
        QLinearGradient caption(0, 0, 0, 33);
        caption.setColorAt(0, QColor(0x2a, 0x5d, 0xa8));
        caption.setColorAt(1, QColor(0x1c, 0x3d, 0x6e));
        p.fillRect(0, 0, 1049, 33, caption);
        QLinearGradient body(0, 33, 0, 700);
        body.setColorAt(0, QColor(0xee, 0xf3, 0xfa));
        body.setColorAt(1, QColor(0xd6, 0xe2, 0xf2));
        p.fillRect(0, 33, 1049, 667, body);
        // Draw area, history area and advert area on light cards.
        p.setPen(QColor(0xb8, 0xc8, 0xe0));
        p.setBrush(QColor(255, 255, 255, 170));
        p.drawRoundedRect(QRectF(3, 36, 533, 180), 6, 6);
        p.drawRoundedRect(QRectF(543, 36, 236, 625), 6, 6);
        p.drawRoundedRect(QRectF(783, 36, 264, 625), 6, 6);
        // A stylised race track under the numbers.
        p.setPen(QPen(QColor(0x2a, 0x5d, 0xa8, 60), 2, Qt::DashLine));
        for (int i = 0; i < 3; ++i) {
            p.drawLine(20, 135 + 8 * i, 520, 135 + 8 * i);
        }
        p.setPen(QColor(0x1c, 0x3d, 0x6e));
        p.drawLine(0, 33, 1049, 33);
        p.fillRect(0, 696, 1049, 4, QColor(0x1c, 0x3d, 0x6e));
    }
    save(bg, dir, "background.png");

    for (int which = 0; which < 2; ++which) {
        QImage b(28, 33, QImage::Format_ARGB32);
        b.fill(Qt::transparent);
        QPainter p(&b);
        p.setRenderHint(QPainter::Antialiasing);
        if (which == 1) {
            p.fillRect(0, 0, 28, 33, QColor(0xc0, 0x39, 0x2b));
        }
        p.setPen(QPen(Qt::white, 2));
        if (which == 0) {
            p.drawLine(8, 20, 20, 20);
        } else {
            p.drawLine(9, 11, 19, 21);
            p.drawLine(19, 11, 9, 21);
        }
        p.end();
        save(b, dir, which == 0 ? "minimise.png" : "close.png");
    }

    QImage status(300, 93, QImage::Format_RGB32);
    {
        QPainter p(&status);
        p.setRenderHint(QPainter::Antialiasing);
        QLinearGradient g(0, 0, 300, 93);
        g.setColorAt(0, QColor(0x2a, 0x5d, 0xa8));
        g.setColorAt(1, QColor(0x1c, 0x3d, 0x6e));
        p.fillRect(status.rect(), g);
        const QColor colours[] = {QColor(0xf1, 0xc4, 0x0f), QColor(0x3d, 0x8e, 0xd8),
                                  QColor(0x9b, 0x9b, 0x9b), QColor(0xe6, 0x7e, 0x22),
                                  QColor(0x1a, 0xbc, 0x9c)};
        for (int i = 0; i < 5; ++i) {
            p.setPen(Qt::NoPen);
            p.setBrush(colours[i]);
            p.drawRoundedRect(QRectF(40 + 46 * i, 30 + (i % 2) * 8, 36, 24), 6, 6);
        }
    }
    save(status, dir, "status.png");
    return 0;
}
