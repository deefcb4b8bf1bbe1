#include "ui/qt/advert_web_view.h"

#include <QVBoxLayout>
#include <QWebEngineView>

namespace pk10 {

namespace {

// The page behind a new window: the address it is asked to open goes to the handler, and the
// page never shows; the advert box keeps its own page.
class NewWindowCatcher final : public QWebEnginePage {
public:
    NewWindowCatcher(AdvertBox& box, QObject* parent) : QWebEnginePage(parent), box_(&box) {}

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool) override {
        box_->allowNavigation(url);
        deleteLater();
        return false;
    }

private:
    AdvertBox* box_;
};

}  // namespace

AdvertPage::AdvertPage(AdvertBox& box, QObject* parent) : QWebEnginePage(parent), box_(&box) {
    connect(this, &QWebEnginePage::loadFinished, this, [this] { ownLoadRunning_ = false; });
}

bool AdvertPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
    if (isMainFrame && type == NavigationTypeTyped && ownLoadPending_) {
        ownLoadPending_ = false;
        ownLoadRunning_ = true;
        return true;
    }
    if (isMainFrame && type == NavigationTypeRedirect && ownLoadRunning_) {
        return true;
    }
    // Frames inside the advert load by themselves; only a click in them is the user's.
    if (!isMainFrame && type != NavigationTypeLinkClicked) {
        return true;
    }
    return box_->allowNavigation(url);
}

QWebEnginePage* AdvertPage::createWindow(WebWindowType) {
    return new NewWindowCatcher(*box_, this);
}

AdvertWebView::AdvertWebView(QWidget* parent)
    : AdvertBox(parent), view_(new QWebEngineView(this)), page_(new AdvertPage(*this, view_)) {
    view_->setPage(page_);
    view_->setContextMenuPolicy(Qt::NoContextMenu);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
}

void AdvertWebView::setAddress(const QUrl& address) {
    page_->expectOwnLoad();
    page_->load(address);
}

QUrl AdvertWebView::address() const {
    return page_->url();
}

}  // namespace pk10
