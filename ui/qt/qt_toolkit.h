#pragma once

#include <functional>
#include <memory>

#include "ui/qt/qt_main_window.h"
#include "ui/toolkit.h"

namespace pk10 {

// Lets pending Qt events run once.
class QtEventPump final : public EventPump {
public:
    void pumpOnce() override;
};

// Application-modal message boxes with the caption "信息：".
class QtMessageBoxes final : public MessageBoxes {
public:
    void showMessage(std::string_view text) override;
    bool askOkCancel(std::string_view text) override;
};

// The desktop's browser: "explorer <address>" on Windows, xdg-open elsewhere. Only web
// addresses are handed on, so a page cannot make the desktop open local files or programs.
class DesktopBrowserOpener final : public BrowserOpener {
public:
    void open(std::string_view address) override;
};

// True for http:// and https:// addresses.
bool isWebAddress(std::string_view address);

// The Qt widgets and services. Tests replace the message boxes, the browser opener and the
// advert box, and decide what closing the status window does.
class QtToolkit final : public Toolkit {
public:
    struct Parts {
        MessageBoxes* messages = nullptr;      // null: QtMessageBoxes
        BrowserOpener* opener = nullptr;       // null: DesktopBrowserOpener
        QtMainWindow::AdvertFactory advert;    // empty: the web engine view
        std::function<void()> onSplashClosed;  // empty: end the process with 0
    };

    QtToolkit() : QtToolkit(Parts{}) {}
    explicit QtToolkit(Parts parts);

    std::unique_ptr<SplashWindow> makeSplashWindow() override;
    std::unique_ptr<MainWindow> makeMainWindow(MainWindowHandlers& handlers) override;
    EventPump& eventPump() override { return pump_; }
    MessageBoxes& messageBoxes() override { return *messages_; }
    BrowserOpener& browserOpener() override { return *opener_; }

private:
    Parts parts_;
    QtEventPump pump_;
    QtMessageBoxes ownMessages_;
    DesktopBrowserOpener ownOpener_;
    MessageBoxes* messages_;
    BrowserOpener* opener_;
};

}  // namespace pk10
