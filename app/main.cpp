// The desktop program: builds the App and runs the message loop until the main window is gone.
#include <QApplication>
#include <QByteArray>

#include "app/app.h"
#include "ui/qt/qt_toolkit.h"

#ifndef _WIN32
#include <unistd.h>
#endif

int main(int argc, char** argv) {
#ifndef _WIN32
    // The web engine refuses to start its sandbox as root.
    if (geteuid() == 0) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
#endif
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    pk10::QtToolkit toolkit;
    pk10::AppOptions options;
    options.programDirectory = QCoreApplication::applicationDirPath().toStdString();
    pk10::App app(toolkit, options);
    if (!app.start()) {
        return pk10::App::exitCode();
    }
    QApplication::exec();
    return pk10::App::exitCode();
}
