#pragma once

#include <QPoint>
#include <QWidget>
#include <array>
#include <functional>

#include "ui/main_window.h"
#include "ui/qt/advert_box.h"
#include "ui/qt/plan_edit_box.h"
#include "ui/toolkit.h"

class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QTimer;
class QTreeWidget;

namespace pk10 {

class PictureButton;

// The main window: 1049 × 700 at (50, 50), frameless with a caption of its own, its controls
// named and placed as the window design has them.
class QtMainWindow final : public QWidget, public MainWindow {
    Q_OBJECT
public:
    using AdvertFactory = std::function<AdvertBox*(QWidget* parent)>;

    QtMainWindow(MainWindowHandlers& handlers, const AdvertFactory& makeAdvert);

    // MainView
    void setCountdownText(std::string_view text) override;
    void addHistoryRow(std::string_view period, std::string_view numbers) override;
    void showLatestDraw(std::string_view periodCaption, std::string_view numbers) override;
    void setDrawTimerRunning(bool running) override;
    std::int32_t readFormulaPeriods() const override;
    // MainWindow
    void setTitle(std::string_view title) override;
    void selectFormulaItem(int index) override;
    int selectedFormulaItem() const override;
    void setPeriodPanelWhite() override;
    void clearHistoryRows() override;
    PlanBox& planBox() override { return *planEdit_; }
    void setAdvertAddress(std::string_view address) override;
    void showAndActivate() override;
    void destroyWindow() override;

    // 超级按钮_复制: the plan text to the clipboard and the "copied" balloon over the button.
    void copyPlan();
    // Where the balloon was last shown (screen point), for the window's tests.
    QPoint lastBalloonPoint() const { return lastBalloonPoint_; }
    QString lastBalloonText() const { return lastBalloonText_; }

    PlanEditBox* planEdit() const { return planEdit_; }
    AdvertBox* advertBox() const { return advert_; }
    QTimer* drawTimer() const { return timer_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QLabel* addLabel(const char* name, const QRect& place, const QString& text,
                     QWidget* parent = nullptr);

    MainWindowHandlers* handlers_;
    QPixmap background_;
    QLabel* titleLabel_;
    PictureButton* minimiseButton_;
    PictureButton* closeButton_;
    QLabel* periodLabel_;
    std::array<QLabel*, 10> numberLabels_{};
    QLabel* countdownLabel_;
    PlanEditBox* planEdit_;
    QFrame* periodPanel_;
    QComboBox* periodCombo_;
    QPushButton* switchButton_;
    QPushButton* clearButton_;
    QPushButton* copyButton_;
    QTreeWidget* historyList_;
    AdvertBox* advert_;
    QTimer* timer_;
    QPoint dragOffset_;
    bool dragging_ = false;
    QPoint lastBalloonPoint_;
    QString lastBalloonText_;
};

}  // namespace pk10
