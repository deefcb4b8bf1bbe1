#include "ui/qt/qt_main_window.h"

#include <QClipboard>
#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QToolTip>
#include <QTreeWidget>

#include "service/text_rules.h"
#include "ui/qt/picture_button.h"

namespace pk10 {

namespace {

QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

constexpr int kCaptionHeight = 33;

// White text on a solid colour.
void paintSolid(QLabel* label, const QColor& colour) {
    label->setAttribute(Qt::WA_TranslucentBackground, false);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, colour);
    palette.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(palette);
    label->setAutoFillBackground(true);
}

}  // namespace

QtMainWindow::QtMainWindow(MainWindowHandlers& handlers, const AdvertFactory& makeAdvert)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      handlers_(&handlers),
      background_(QStringLiteral(":/pk10/background.png")) {
    setObjectName(QStringLiteral("启动窗口"));
    setFixedSize(1049, 700);
    move(50, 50);
    setAttribute(Qt::WA_QuitOnClose, true);

    titleLabel_ = addLabel("透明标签_窗口标题", {9, 4, 806, 24}, QString());
    titleLabel_->setStyleSheet(QStringLiteral("color: white; font-size: 15px; font-weight: bold;"));

    minimiseButton_ = new PictureButton(QPixmap(QStringLiteral(":/pk10/minimise.png")), this);
    minimiseButton_->setObjectName(QStringLiteral("图形按钮2"));
    minimiseButton_->setGeometry(993, 0, 28, 33);
    connect(minimiseButton_, &QAbstractButton::clicked, this, &QWidget::showMinimized);
    closeButton_ = new PictureButton(QPixmap(QStringLiteral(":/pk10/close.png")), this);
    closeButton_->setObjectName(QStringLiteral("图形按钮1"));
    closeButton_->setGeometry(1021, 0, 28, 33);
    connect(closeButton_, &QAbstractButton::clicked, this, &QWidget::close);

    addLabel("透明标签1", {7, 37, 83, 32}, QStringLiteral("实时开奖"))
        ->setStyleSheet(QStringLiteral("font-size: 16px; font-weight: bold; color: #1c3d6e;"));
    periodLabel_ =
        addLabel("透明标签_当前期号", {198, 69, 154, 16}, QStringLiteral("当前期号:00000000-00"));
    for (int i = 0; i < 10; ++i) {
        const QString name = QStringLiteral("透明标签_开奖%1").arg(i + 1);
        auto* label = new QLabel(QStringLiteral("00"), this);
        label->setObjectName(name);
        label->setGeometry(33 + 50 * i, 98, 27, 28);
        label->setAlignment(Qt::AlignCenter);
        paintSolid(label, QColor(0xc0, 0x39, 0x2b));
        QFont font = label->font();
        font.setBold(true);
        font.setPixelSize(14);
        label->setFont(font);
        numberLabels_[static_cast<std::size_t>(i)] = label;
    }
    addLabel("透明标签17", {65, 171, 115, 16}, QStringLiteral("开奖剩余时间："));
    countdownLabel_ =
        addLabel("透明标签_开奖时间", {183, 167, 152, 24}, QStringLiteral("00：00：00"));
    countdownLabel_->setStyleSheet(
        QStringLiteral("color: #c0392b; font-size: 18px; font-weight: bold;"));

    planEdit_ = new PlanEditBox(this);
    planEdit_->setObjectName(QStringLiteral("编辑框_计划"));
    planEdit_->setGeometry(5, 222, 530, 395);

    periodPanel_ = new QFrame(this);
    periodPanel_->setObjectName(QStringLiteral("画板_期数设置"));
    periodPanel_->setGeometry(332, 222, 186, 32);
    addLabel("透明标签7", {12, 4, 77, 24}, QStringLiteral("公式期数设置"), periodPanel_);
    periodCombo_ = new QComboBox(periodPanel_);
    periodCombo_->setObjectName(QStringLiteral("组合框_公式期数"));
    periodCombo_->setGeometry(89, 5, 40, 20);
    periodCombo_->addItems({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")});
    switchButton_ = new QPushButton(QStringLiteral("切换"), periodPanel_);
    switchButton_->setObjectName(QStringLiteral("超级按钮_期数切换"));
    switchButton_->setGeometry(128, 0, 57, 31);
    connect(switchButton_, &QPushButton::clicked, this, [this] { handlers_->onSwitchPeriods(); });
    periodPanel_->raise();

    clearButton_ = new QPushButton(QStringLiteral("清理计划并重新获取"), this);
    clearButton_->setObjectName(QStringLiteral("超级按钮_清理计划"));
    clearButton_->setGeometry(178, 621, 146, 34);
    connect(clearButton_, &QPushButton::clicked, this, [this] { handlers_->onClearPlans(); });
    copyButton_ = new QPushButton(QStringLiteral("复制"), this);
    copyButton_->setObjectName(QStringLiteral("超级按钮_复制"));
    copyButton_->setGeometry(451, 622, 57, 31);
    connect(copyButton_, &QPushButton::clicked, this, &QtMainWindow::copyPlan);

    addLabel("透明标签2", {546, 37, 230, 32}, QStringLiteral("历史开奖"))
        ->setStyleSheet(QStringLiteral("font-size: 16px; font-weight: bold; color: #1c3d6e;"));
    QLabel* columns =
        addLabel("标签1", {546, 69, 230, 25}, QStringLiteral("     开奖期号        开奖号"));
    paintSolid(columns, QColor(0x1c, 0x3d, 0x6e));
    historyList_ = new QTreeWidget(this);
    historyList_->setObjectName(QStringLiteral("超级列表框_历史开奖"));
    historyList_->setGeometry(546, 93, 230, 565);
    historyList_->setColumnCount(2);
    historyList_->setHeaderLabels({QStringLiteral("开奖期号"), QStringLiteral("开奖号")});
    historyList_->setHeaderHidden(true);  // 标签1 above the list carries the column captions
    historyList_->setRootIsDecorated(false);
    // Narrow enough that all ten numbers of a draw fit beside the period.
    QFont listFont = historyList_->font();
    listFont.setPixelSize(10);
    historyList_->setFont(listFont);
    historyList_->setIndentation(0);
    historyList_->setColumnWidth(0, 50);
    historyList_->setSelectionMode(QAbstractItemView::SingleSelection);

    advert_ = makeAdvert(this);
    advert_->setObjectName(QStringLiteral("超文本浏览框1"));
    advert_->setGeometry(786, 42, 259, 616);
    advert_->setNavigateHandler([this](const QUrl& url) {
        return handlers_->onAdvertNavigate(url.toString(QUrl::FullyEncoded).toStdString());
    });

    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("时钟_剩余开奖时间"));
    connect(timer_, &QTimer::timeout, this, [this] { handlers_->onDrawTimerTick(); });
}

QLabel* QtMainWindow::addLabel(const char* name, const QRect& place, const QString& text,
                               QWidget* parent) {
    auto* label = new QLabel(text, parent != nullptr ? parent : this);
    label->setObjectName(QString::fromUtf8(name));
    label->setGeometry(place);
    label->setAttribute(Qt::WA_TranslucentBackground);
    return label;
}

void QtMainWindow::setCountdownText(std::string_view text) {
    countdownLabel_->setText(qs(text));
}

void QtMainWindow::addHistoryRow(std::string_view period, std::string_view numbers) {
    auto* row = new QTreeWidgetItem(QStringList{qs(period)});
    historyList_->insertTopLevelItem(0, row);
    row->setText(1, qs(numbers));
}

void QtMainWindow::showLatestDraw(std::string_view periodCaption, std::string_view numbers) {
    periodLabel_->setText(qs(periodCaption));
    const std::vector<std::string> parts = latestDrawParts(numbers);
    for (std::size_t i = 0; i < parts.size(); ++i) {
        numberLabels_[i]->setText(qs(parts[i]));
    }
}

void QtMainWindow::setDrawTimerRunning(bool running) {
    if (running) {
        timer_->start(100);
    } else {
        timer_->stop();
    }
}

std::int32_t QtMainWindow::readFormulaPeriods() const {
    return textToInt(periodCombo_->currentText().toStdString());
}

void QtMainWindow::setTitle(std::string_view title) {
    setWindowTitle(qs(title));
    titleLabel_->setText(qs(title));
}

void QtMainWindow::selectFormulaItem(int index) {
    periodCombo_->setCurrentIndex(index >= 0 && index < periodCombo_->count() ? index : -1);
}

int QtMainWindow::selectedFormulaItem() const {
    return periodCombo_->currentIndex();
}

void QtMainWindow::setPeriodPanelWhite() {
    QPalette palette = periodPanel_->palette();
    palette.setColor(QPalette::Window, QColor(255, 255, 255));
    periodPanel_->setPalette(palette);
    periodPanel_->setAutoFillBackground(true);
}

void QtMainWindow::clearHistoryRows() {
    historyList_->clear();
}

void QtMainWindow::setAdvertAddress(std::string_view address) {
    advert_->setAddress(QUrl(qs(address)));
}

void QtMainWindow::showAndActivate() {
    show();
    raise();
    activateWindow();
}

void QtMainWindow::destroyWindow() {
    timer_->stop();
    hide();
}

void QtMainWindow::copyPlan() {
    QGuiApplication::clipboard()->setText(planEdit_->toPlainText());
    const double x = geometry().x() + copyButton_->geometry().x() + copyButton_->width() / 2.0;
    lastBalloonPoint_ = QPoint(static_cast<int>(x), geometry().y() + copyButton_->geometry().y());
    lastBalloonText_ = QStringLiteral("已复制到剪辑版");
    QToolTip::showText(lastBalloonPoint_, lastBalloonText_, this, QRect(), 3000);
}

void QtMainWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(rect(), background_);
}

void QtMainWindow::mousePressEvent(QMouseEvent* event) {
    // The window has no system caption, so its own caption strip moves it.
    dragging_ = event->button() == Qt::LeftButton && event->position().y() < kCaptionHeight;
    dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void QtMainWindow::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_ && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - dragOffset_);
    }
}

}  // namespace pk10
