#pragma once

#include <QWebEnginePage>

#include "ui/qt/advert_box.h"

class QWebEngineView;

namespace pk10 {

// The page of the advert box: lets its own loads through and puts every other navigation of
// the main frame, every link click and every new window (target=_blank, window.open) to the
// box's handler.
class AdvertPage final : public QWebEnginePage {
    Q_OBJECT
public:
    AdvertPage(AdvertBox& box, QObject* parent);

    // The next load of this address (and the redirects it meets) is the program's own.
    void expectOwnLoad() { ownLoadPending_ = true; }

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;

private:
    AdvertBox* box_;
    bool ownLoadPending_ = false;
    bool ownLoadRunning_ = false;
};

class AdvertWebView final : public AdvertBox {
    Q_OBJECT
public:
    explicit AdvertWebView(QWidget* parent = nullptr);

    void setAddress(const QUrl& address) override;
    QUrl address() const override;
    QWebEngineView* view() const { return view_; }
    AdvertPage* page() const { return page_; }

private:
    QWebEngineView* view_;
    AdvertPage* page_;
};

}  // namespace pk10
