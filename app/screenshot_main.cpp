// pk10-screenshot: starts the program against a draw service, lets the window settle and saves a
// picture of the main window. Used by scripts/screenshot.sh; not part of the product.
//   pk10-screenshot <init url> <output.png> [milliseconds to wait] [blank]
// "blank" replaces the web view by an empty advert box. Prints the start-up time.
#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>
#include <cstdio>
#include <string>

#include "app/app.h"
#include "ui/qt/qt_toolkit.h"

namespace {

class PrintedMessages final : public pk10::MessageBoxes {
public:
    void showMessage(std::string_view text) override {
        std::fprintf(stderr, "信息：%.*s\n", static_cast<int>(text.size()), text.data());
    }
    bool askOkCancel(std::string_view text) override {
        showMessage(text);
        return false;
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: pk10-screenshot <init url> <output.png> [wait ms]\n");
        return 2;
    }
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QElapsedTimer sinceStart;
    sinceStart.start();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    PrintedMessages messages;
    pk10::QtToolkit::Parts parts;
    parts.messages = &messages;
    if (argc > 4 && std::string(argv[4]) == "blank") {
        parts.advert = [](QWidget* parent) -> pk10::AdvertBox* {
            return new pk10::BlankAdvertBox(parent);
        };
    }
    pk10::QtToolkit toolkit(parts);
    pk10::AppOptions options;
    options.initUrl = argv[1];
    pk10::App app(toolkit, options);
    if (!app.start()) {
        return 1;
    }
    std::fprintf(stderr, "window visible after %lld ms\n",
                 static_cast<long long>(sinceStart.elapsed()));
    const int waitMs = argc > 3 ? std::stoi(argv[3]) : 4000;
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < waitMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    auto* window = dynamic_cast<QWidget*>(&app.window());
    return window != nullptr && window->grab().save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}
