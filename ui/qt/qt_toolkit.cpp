#include "ui/qt/qt_toolkit.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QProcess>
#include <cstdlib>

#include "ui/qt/advert_web_view.h"
#include "ui/qt/qt_splash_window.h"

// The pictures live in a static library, so their registration is asked for by name.
static void initResources() {
    Q_INIT_RESOURCE(pk10);
}

namespace pk10 {

namespace {

QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

int showBox(std::string_view text, QMessageBox::StandardButtons buttons) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("信息："), qs(text), buttons);
    box.setWindowModality(Qt::ApplicationModal);
    return box.exec();
}

}  // namespace

void QtEventPump::pumpOnce() {
    QCoreApplication::processEvents();
}

void QtMessageBoxes::showMessage(std::string_view text) {
    showBox(text, QMessageBox::Ok);
}

bool QtMessageBoxes::askOkCancel(std::string_view text) {
    return showBox(text, QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

bool isWebAddress(std::string_view address) {
    const QUrl url(qs(address));
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

void DesktopBrowserOpener::open(std::string_view address) {
    if (!isWebAddress(address)) {
        return;
    }
#ifdef _WIN32
    QProcess::startDetached(QStringLiteral("explorer"), {qs(address)});
#else
    QProcess::startDetached(QStringLiteral("xdg-open"), {qs(address)});
#endif
}

QtToolkit::QtToolkit(Parts parts)
    : parts_(std::move(parts)),
      messages_(parts_.messages != nullptr ? parts_.messages : &ownMessages_),
      opener_(parts_.opener != nullptr ? parts_.opener : &ownOpener_) {
    initResources();
    if (!parts_.advert) {
        parts_.advert = [](QWidget* parent) -> AdvertBox* { return new AdvertWebView(parent); };
    }
    if (!parts_.onSplashClosed) {
        parts_.onSplashClosed = [] { std::exit(0); };
    }
}

std::unique_ptr<SplashWindow> QtToolkit::makeSplashWindow() {
    return std::make_unique<QtSplashWindow>(parts_.onSplashClosed, pump_);
}

std::unique_ptr<MainWindow> QtToolkit::makeMainWindow(MainWindowHandlers& handlers) {
    return std::make_unique<QtMainWindow>(handlers, parts_.advert);
}

}  // namespace pk10
