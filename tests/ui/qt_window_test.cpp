// The whole program, offscreen, against the real draw service on a loopback port.
#include <gtest/gtest.h>

#include <unistd.h>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QWebEngineView>

#include <filesystem>
#include <fstream>

#include "app/app.h"
#include "plans/plan_statistics.h"
#include "tests/support/draw_service_fixture.h"
#include "tests/support/loopback_draw_service.h"
#include "tests/support/temporary_folder.h"
#include "tests/ui/shell_fakes.h"
#include "ui/qt/advert_web_view.h"
#include "ui/qt/qt_splash_window.h"
#include "ui/qt/qt_toolkit.h"

namespace pk10 {

// 50 real-looking draws, newest 20170714650; every third one 03,05,10,01,02,04,06,08,07,09.
const std::string& replayFile() {
    static const std::string path = [] {
        const std::filesystem::path file =
            std::filesystem::temp_directory_path() /
            ("pk10-program-draws-" + std::to_string(::getpid()) + ".csv");
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out << "period,numbers\n";
        for (int r = 49; r >= 0; --r) {
            out << (20170714650 - r) << ",\""
                << (r % 3 == 0 ? "03,05,10,01,02,04,06,08,07,09" : "04,01,02,03,05,06,07,08,09,10")
                << "\"\n";
        }
        return file.string();
    }();
    return path;
}

namespace {

using testing::DrawServiceFixture;
using testing::LoopbackDrawService;

template <typename W>
W* child(QWidget& window, const char* name) {
    return window.findChild<W*>(QString::fromUtf8(name));
}

// The program against the real draw service on a free loopback port.
class ProgramTest : public ::testing::Test {
protected:
    ProgramTest() {
        options.initUrl = service.initUrl();
        options.fallbackUrl = "http://127.0.0.1:1/";
        options.workingDirectory = directory;
        parts.messages = &messages;
        parts.opener = &opener;
        parts.advert = [](QWidget* parent) -> AdvertBox* { return new BlankAdvertBox(parent); };
        parts.onSplashClosed = [this] { ++splashClosedByUser; };
    }

    static DrawServiceFixture::Settings serviceSettings() {
        DrawServiceFixture::Settings settings;
        settings.replayFile = replayFile();
        return settings;
    }

    testing::TemporaryFolder temporary;
    std::filesystem::path directory = temporary.path;
    DrawServiceFixture service{serviceSettings()};
    AppOptions options;
    testing::RecordingMessageBoxes messages;
    testing::RecordingOpener opener;
    QtToolkit::Parts parts;
    int splashClosedByUser = 0;
};

TEST_F(ProgramTest, StartUpFillsTheWindow) {
    ASSERT_TRUE(service.ok()) << service.error();
    QtToolkit toolkit(parts);
    App app(toolkit, options);
    ASSERT_TRUE(app.start()) << (messages.messages.empty() ? "" : messages.messages.front());
    auto& window = dynamic_cast<QtMainWindow&>(app.window());
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.geometry(), QRect(50, 50, 1049, 700));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("澜星PK10平刷冠军单双"));
    EXPECT_EQ(child<QLabel>(window, "透明标签_窗口标题")->text(), window.windowTitle());
    EXPECT_EQ(child<QLabel>(window, "透明标签_当前期号")->text(),
              QStringLiteral("当前期号：20170714650"));
    EXPECT_EQ(child<QLabel>(window, "透明标签_开奖3")->text(), QStringLiteral("10"));
    EXPECT_EQ(child<QLabel>(window, "透明标签_开奖10")->text(), QStringLiteral("09"));
    auto* list = child<QTreeWidget>(window, "超级列表框_历史开奖");
    ASSERT_EQ(list->topLevelItemCount(), 50);
    EXPECT_EQ(list->topLevelItem(0)->text(0), QStringLiteral("20170714650"));
    EXPECT_EQ(list->topLevelItem(49)->text(0), QStringLiteral("20170714601"));
    EXPECT_TRUE(
        window.planEdit()->toPlainText().endsWith(QStringLiteral("彩票有风险，投注需谨慎！")));
    EXPECT_TRUE(window.drawTimer()->isActive());
    EXPECT_EQ(window.drawTimer()->interval(), 100);
    EXPECT_EQ(child<QComboBox>(window, "组合框_公式期数")->currentText(), QStringLiteral("3"));
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(splashClosedByUser, 0) << "closing the status window from the program is no request";
    const std::string advert = service.drawBaseUrl() + "/advert.html";
    EXPECT_EQ(app.appSettings().advert1, advert);

    // 切换 unchanged does nothing; changed, it stores the count and rebuilds.
    const QString planBefore = window.planEdit()->toPlainText();
    child<QPushButton>(window, "超级按钮_期数切换")->click();
    EXPECT_FALSE(std::filesystem::exists(app.settingsFile().path()));
    child<QComboBox>(window, "组合框_公式期数")->setCurrentIndex(0);
    child<QPushButton>(window, "超级按钮_期数切换")->click();
    EXPECT_EQ(app.settingsFile().read("公式期数", "3"), "1");
    EXPECT_EQ(app.planManager().planAt(1)->span, 1);
    EXPECT_NE(window.planEdit()->toPlainText(), planBefore);

    child<QPushButton>(window, "超级按钮_清理计划")->click();
    EXPECT_EQ(messages.messages, std::vector<std::string>{"清理成功！计划已经重新获取。"});

    child<QPushButton>(window, "超级按钮_复制")->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), window.planEdit()->toPlainText());
    EXPECT_EQ(window.lastBalloonText(), QStringLiteral("已复制到剪辑版"));
    EXPECT_EQ(window.lastBalloonPoint(), QPoint(50 + 451 + 28, 50 + 622));

    // Typing changes nothing; Ctrl+X copies the selection and leaves the text.
    const QString text = window.planEdit()->toPlainText();
    QTest::keyClicks(window.planEdit(), "abc");
    QTest::keyClick(window.planEdit(), Qt::Key_Backspace);
    QTest::keyClick(window.planEdit(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(window.planEdit()->toPlainText(), text);
    window.planEdit()->selectAll();
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(window.planEdit(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(window.planEdit()->toPlainText(), text);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), text);
    EXPECT_EQ(window.planEdit()->contextMenuPolicy(), Qt::NoContextMenu);

    // A navigation the advert page starts after start-up goes to the desktop.
    EXPECT_FALSE(window.advertBox()->allowNavigation(QUrl("http://127.0.0.1:9/other")));
    EXPECT_EQ(opener.opened, std::vector<std::string>{"http://127.0.0.1:9/other"});
    EXPECT_EQ(window.advertBox()->address(), QUrl(QString::fromStdString(advert)));
}

TEST_F(ProgramTest, FallbackAddressServesWhenTheFirstFails) {
    ASSERT_TRUE(service.ok()) << service.error();
    options.initUrl = "http://127.0.0.1:1/appinit.php";
    options.fallbackUrl = service.fallbackInitUrl();
    QtToolkit toolkit(parts);
    App app(toolkit, options);
    ASSERT_TRUE(app.start()) << (messages.messages.empty() ? "" : messages.messages.front());
    EXPECT_EQ(app.history().size(), 50U);
}

TEST_F(ProgramTest, AServiceThatIsDownEndsStartUpWithItsMessageAndZero) {
    service.stop();
    QtToolkit toolkit(parts);
    App app(toolkit, options);
    EXPECT_FALSE(app.start());
    EXPECT_FALSE(dynamic_cast<QtMainWindow&>(app.window()).isVisible());
    EXPECT_EQ(App::exitCode(), 0);
    ASSERT_EQ(messages.messages.size(), 1U);
    EXPECT_EQ(messages.messages[0].rfind("初始化连接服务器失败！：", 0), 0U)
        << messages.messages[0];
}

// A refused draw list: the real service always lists what it has, so a stand-in refuses.
TEST(ProgramOnStandInService, ARefusedDrawListEndsStartUpWithBothMessages) {
    testing::TemporaryFolder directory;
    LoopbackDrawService service;
    service.handler = [&service](const LoopbackDrawService::Call& call) -> std::string {
        if (call.funname == "init") {
            return service.initReply(call, "1.41", "http://127.0.0.1:9/advert");
        }
        return LoopbackDrawService::envelope("500", "拒绝", "");
    };
    AppOptions options;
    options.initUrl = service.drawUrl();
    options.fallbackUrl = "http://127.0.0.1:1/";
    options.workingDirectory = directory.path;
    testing::RecordingMessageBoxes messages;
    QtToolkit::Parts parts;
    parts.messages = &messages;
    parts.advert = [](QWidget* parent) -> AdvertBox* { return new BlankAdvertBox(parent); };
    parts.onSplashClosed = [] {};
    QtToolkit toolkit(parts);
    App app(toolkit, options);
    EXPECT_FALSE(app.start());
    EXPECT_EQ(
        messages.messages,
        (std::vector<std::string>{"查询最近开奖数据失败！获取最新开奖数据失败!拒绝 错误代码：500",
                                  "获取网络开奖数据失败！"}));
}

TEST(StatusWindow, ShowsOnceAndTheUsersCloseEndsTheProgram) {
    QtEventPump pump;
    int closed = 0;
    QtSplashWindow splash([&] { ++closed; }, pump);
    EXPECT_TRUE(splash.showStatus("正在连接服务器……"));
    EXPECT_FALSE(splash.showStatus("其他"));
    ASSERT_NE(splash.widget(), nullptr);
    EXPECT_EQ(splash.widget()->message(), QStringLiteral("正在连接服务器……"));
    EXPECT_EQ(splash.widget()->geometry(), QRect(50, 50, 300, 184));
    splash.widget()->close();
    EXPECT_EQ(closed, 1);
    EXPECT_TRUE(splash.closeStatus());
    EXPECT_FALSE(splash.closeStatus());
    EXPECT_EQ(closed, 1);
}

TEST(PlanEditBox, PartialUpdateKeepsTheBoxEqualToAFullReplacement) {
    PlanEditBox box;
    const std::string base = "1期 单 中\r\n2期 双 无\r\n3期 单 等开\r\n\r\n当前计划统计：总计3期";
    const std::array<std::string, 5> next{
        "1期 单 中\r\n2期 双 无\r\n3期 单 中\r\n4期 双 等开\r\n\r\n当前计划统计：总计4期",
        "1期 单 中\r\n", "", "完全不同\r\n的文字",
        "1期 单 中\r\n2期 双 无\r\n3期 单 等开\r\n\r\n当前计划统计：总计3期\r\n"};
    for (const std::string& text : next) {
        box.showText(base);
        box.showText(text);
        PlanEditBox fresh;
        fresh.replaceAll(text);
        EXPECT_EQ(box.toPlainText(), fresh.toPlainText()) << text;
        EXPECT_EQ(box.textCursor().position(), box.document()->characterCount() - 1);
    }
}

// The advert page in the real web engine: after start-up a clicked link, a script navigation
// and a target=_blank link are all refused and handed on; the page stays.
TEST(AdvertWebView, NavigationsAfterStartUpAreHandedOn) {
    AdvertWebView view;
    view.resize(259, 616);
    std::vector<QUrl> asked;
    bool startupDone = false;
    view.setNavigateHandler([&](const QUrl& url) {
        if (!startupDone) {
            return true;
        }
        asked.push_back(url);
        return false;
    });
    QSignalSpy loaded(view.page(), &QWebEnginePage::loadFinished);
    view.page()->setHtml(
        QStringLiteral(
            "<html><body><a id='a' href='http://127.0.0.1:9/one'>one</a>"
            "<a id='b' target='_blank' href='http://127.0.0.1:9/two'>two</a></body></html>"),
        QUrl("http://127.0.0.1:9/advert"));
    if (!loaded.wait(20000)) {
        GTEST_SKIP() << "the web engine does not run here";
    }
    startupDone = true;
    view.show();
    view.page()->runJavaScript("document.getElementById('a').click();");
    QTRY_COMPARE_WITH_TIMEOUT(asked.size(), std::size_t{1}, 10000);
    EXPECT_EQ(asked[0], QUrl("http://127.0.0.1:9/one"));
    view.page()->runJavaScript("window.location.href = 'http://127.0.0.1:9/three';");
    QTRY_COMPARE_WITH_TIMEOUT(asked.size(), std::size_t{2}, 10000);
    EXPECT_EQ(asked[1], QUrl("http://127.0.0.1:9/three"));
    EXPECT_EQ(view.address(), QUrl("http://127.0.0.1:9/advert"));
}

}  // namespace
}  // namespace pk10

int main(int argc, char** argv) {
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --no-sandbox");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::filesystem::remove(pk10::replayFile());
    return result;
}
