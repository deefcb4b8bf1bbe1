#pragma once

#include <QUrl>
#include <QWidget>
#include <functional>

namespace pk10 {

// 超文本浏览框1: shows the service's advert page. Every navigation the page itself starts goes
// through the handler first; false cancels it.
class AdvertBox : public QWidget {
    Q_OBJECT
public:
    using NavigateHandler = std::function<bool(const QUrl&)>;

    explicit AdvertBox(QWidget* parent = nullptr) : QWidget(parent) {}

    // Loads the address; this load itself is not put to the handler.
    virtual void setAddress(const QUrl& address) = 0;
    virtual QUrl address() const = 0;

    void setNavigateHandler(NavigateHandler handler) { handler_ = std::move(handler); }
    bool allowNavigation(const QUrl& url) const { return !handler_ || handler_(url); }

private:
    NavigateHandler handler_;
};

// An advert box without a browser engine: keeps the address and shows nothing.
class BlankAdvertBox final : public AdvertBox {
    Q_OBJECT
public:
    explicit BlankAdvertBox(QWidget* parent = nullptr) : AdvertBox(parent) {}
    void setAddress(const QUrl& address) override { address_ = address; }
    QUrl address() const override { return address_; }

private:
    QUrl address_;
};

}  // namespace pk10
