#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/stat.h>

#include "app/product.h"
#include "app/settings_file.h"
#include "app/startup_tasks.h"
#include "plans/plan_controller.h"
#include "strategies/random_generator.h"
#include "strategies/strategy_registry.h"
#include "tests/support/counting_pump.h"
#include "tests/support/fake_time.h"
#include "tests/ui/shell_fakes.h"
#include "ui/app_init_task.h"
#include "ui/draw_refresh_task.h"
#include "ui/main_window_controller.h"

namespace pk10 {
namespace {

using namespace pk10::testing;

std::string tableOf(int rows, int newest) {
    std::string text;
    for (int r = 0; r < rows; ++r) {
        text += "c1|+|" + std::to_string(newest - r) + "|+|c3|+|" +
                (r % 2 == 0 ? "1,2,3,4,5,6,7,8,9,10" : "2,1,3,4,5,6,7,8,9,10") + "|+|" +
                std::to_string(r) + "\r\n";
    }
    return text;
}

// The start-up sequence with every window and the service replaced.
class StartupTest : public ::testing::Test {
protected:
    StartupTest() {
        directory =
            std::filesystem::temp_directory_path() /
            ("pk10-startup-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(directory);
        std::filesystem::create_directories(directory);
        updaterPath = directory / "更新器.exe";
        state.product = productSettings();
        context = {&state,
                   &splash,
                   &window,
                   &appSettings,
                   &controller,
                   &service,
                   &drawClock,
                   &latest,
                   &history,
                   &manager,
                   &messages,
                   &pump,
                   &opener,
                   "http://init/appinit.php",
                   "http://fallback/",
                   &starter,
                   updaterBytes};
        state.updaterPath = updaterPath.string();
        service.initSucceedsAt = "http://init/appinit.php";
        service.settings.advert1 = "http://advert/";
        service.settings.version = "1.41";
        service.newestPeriod = "20170714650";
        service.newestLine = "x| |650| |y| |1,2,3,4,5,6,7,8,9,10| |3| |a| |b| |2017-07-14 10:45:00";
        service.tableText = tableOf(50, 650);
    }
    ~StartupTest() override { std::filesystem::remove_all(directory); }

    void storeFormulaPeriods(std::string_view text) {
        SettingsFile::inDirectory(directory, state.product.title).write("公式期数", text);
    }

    std::filesystem::path directory;
    FakeClock clock;
    FakeUptime uptime;
    CountingPump pump;
    ScriptedService service;
    RecordingWindow window;
    RecordingSplash splash;
    RecordingMessageBoxes messages;
    RecordingOpener opener;
    RecordingStarter starter;
    std::string updaterBytes = std::string(
        "\x7f"
        "ELF updater\0bytes",
        18);
    std::filesystem::path updaterPath;
    RandomGenerator random;
    StrategyRegistry registry{random, &messages};
    PlanTypePatterns patterns;
    PlanManager manager{random, uptime, registry, patterns};
    DrawHistory history;
    PlanController controller{manager, history, uptime, pump};
    DrawClock drawClock{service, clock};
    LatestDraw latest;
    AppSettings appSettings;
    ShellState state;
    ShellContext context;
    SettingsFile settings;
    StartupTasks tasks{context};
    MainWindowController main{context, settings, tasks};
};

TEST_F(StartupTest, SucceedsAndFillsTheWindow) {
    ASSERT_TRUE(main.create(directory));
    EXPECT_EQ(splash.message, "正在连接服务器……");
    EXPECT_FALSE(splash.open);
    EXPECT_EQ(window.title, "澜星PK10平刷冠军单双");
    EXPECT_TRUE(window.panelWhite);
    EXPECT_TRUE(window.timerRunning);
    EXPECT_TRUE(window.shown);
    EXPECT_TRUE(state.startupDone);
    EXPECT_EQ(state.formulaPeriods, 3) << "no settings file: 3";
    EXPECT_FALSE(std::filesystem::exists(settings.path())) << "reading creates nothing";
    EXPECT_EQ(service.initCalls, std::vector<std::string>{"http://init/appinit.php"});
    EXPECT_EQ(service.lastAppId, 1112);
    EXPECT_EQ(service.selectCounts, std::vector<std::int32_t>{50});
    EXPECT_TRUE(messages.messages.empty());

    // The advert is set before any draw is asked for; then the newest draw, then the list.
    ASSERT_GE(window.events.size(), 52U);
    EXPECT_EQ(window.events[0], "advert http://advert/");
    EXPECT_EQ(window.events[1], "latest 当前期号：650 1,2,3,4,5,6,7,8,9,10");
    ASSERT_EQ(window.rows.size(), 50U);
    EXPECT_EQ(window.rows.front(), "650 1,2,3,4,5,6,7,8,9,10");
    EXPECT_EQ(window.rows.back(), "601 2,1,3,4,5,6,7,8,9,10");
    EXPECT_EQ(window.events.back(), "plan");
    EXPECT_NE(window.planText.find("彩票有风险，投注需谨慎！"), std::string::npos);
    EXPECT_EQ(manager.planCount(), 1);
    EXPECT_EQ(manager.hitRate(), 80);
    EXPECT_EQ(manager.resetAfterMisses(), 0);
}

TEST_F(StartupTest, FallbackAddressIsTriedWhenTheFirstFails) {
    service.initSucceedsAt = "http://fallback/";
    ASSERT_TRUE(main.create(directory));
    EXPECT_EQ(service.initCalls,
              (std::vector<std::string>{"http://init/appinit.php", "http://fallback/"}));
}

TEST_F(StartupTest, FailuresShowTheirMessagesInOrderAndDestroyTheWindow) {
    struct Case {
        const char* name;
        bool serviceDown;
        bool listRefused;
        std::vector<std::string> messages;
    };
    const std::array cases{
        Case{"service down",
             true,
             false,
             {"初始化连接服务器失败！：服务器访问失败! 错误代码：9999"}},
        Case{"list refused",
             false,
             true,
             {"查询最近开奖数据失败！获取最新开奖数据失败!服务器访问失败! 错误代码：9999",
              "获取网络开奖数据失败！"}},
    };
    for (const auto& [name, down, refused, expected] : cases) {
        ScriptedService failing;
        failing.initSucceedsAt = down ? "" : "http://init/appinit.php";
        failing.selectOk = !refused;
        failing.newestLine = service.newestLine;
        RecordingWindow w;
        RecordingMessageBoxes m;
        ShellContext c = context;
        c.service = &failing;
        c.window = &w;
        c.messages = &m;
        ShellState s;
        s.product = productSettings();
        c.state = &s;
        DrawHistory h;
        c.history = &h;
        DrawClock dc(failing, clock);
        c.clock = &dc;
        StartupTasks t(c);
        SettingsFile f;
        MainWindowController controllerUnderTest(c, f, t);
        EXPECT_FALSE(controllerUnderTest.create(directory)) << name;
        EXPECT_EQ(m.messages, expected) << name;
        EXPECT_TRUE(w.destroyed) << name;
        EXPECT_FALSE(w.shown) << name;
        EXPECT_FALSE(w.timerRunning) << name;
        EXPECT_FALSE(s.startupDone) << name;
    }
}

TEST_F(StartupTest, ShortDrawListLeavesEmptyRowsAndMissingNewestDrawIsNoFailure) {
    service.tableText = tableOf(30, 650);
    service.newestLine.clear();
    ASSERT_TRUE(main.create(directory));
    ASSERT_EQ(history.size(), 50U);
    EXPECT_EQ(history[29].period, "621");
    EXPECT_EQ(history[30], DrawRecord{});
    ASSERT_EQ(window.rows.size(), 50U);
    EXPECT_EQ(window.rows.back(), " ");
    EXPECT_EQ(window.events[1], "latest 当前期号： ") << "empty period and numbers";
}

TEST_F(StartupTest, StoredCountSelectsTheItem) {
    constexpr std::array<std::pair<std::string_view, int>, 5> cases{
        {{"2", 2}, {"1", 1}, {"0", 0}, {"abc", 0}, {"5", 0}}};
    for (const auto& [stored, expected] : cases) {
        storeFormulaPeriods(stored);
        MainWindowController fresh(context, settings, tasks);
        ASSERT_TRUE(fresh.create(directory));
        EXPECT_EQ(state.formulaPeriods, expected) << stored;
        EXPECT_EQ(window.selected, expected - 1) << stored;
        manager.clear();
    }
}

TEST_F(StartupTest, SwitchWritesAndRebuildsOnlyWhenChanged) {
    ASSERT_TRUE(main.create(directory));
    const int shows = window.planShows;
    main.onSwitchPeriods();  // unchanged selection
    EXPECT_EQ(window.planShows, shows);
    EXPECT_FALSE(std::filesystem::exists(settings.path()));

    window.selected = 0;
    main.onSwitchPeriods();
    EXPECT_EQ(state.formulaPeriods, 1);
    EXPECT_EQ(settings.read("公式期数", "3"), "1");
    EXPECT_EQ(window.planShows, shows + 1);
    EXPECT_EQ(manager.planAt(1)->span, 1);

    main.onClearPlans();
    EXPECT_EQ(messages.messages, std::vector<std::string>{"清理成功！计划已经重新获取。"});
    EXPECT_EQ(window.planShows, shows + 2);
}

TEST_F(StartupTest, AdvertNavigationIsHandedToTheDesktopOnlyAfterStartUp) {
    EXPECT_TRUE(main.onAdvertNavigate("http://advert/"));
    EXPECT_TRUE(opener.opened.empty());
    ASSERT_TRUE(main.create(directory));
    EXPECT_FALSE(main.onAdvertNavigate("http://elsewhere/page"));
    EXPECT_EQ(opener.opened, std::vector<std::string>{"http://elsewhere/page"});
}

std::string fileContent(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

constexpr std::string_view kPrompt = "澜星PK10平刷冠军单双已经更新至1.5\r\n点击确定立即更新";

TEST_F(StartupTest, OnlyANewerServiceVersionBringsUpThePrompt) {
    constexpr std::array<std::pair<std::string_view, bool>, 7> cases{{{"1.41", false},
                                                                      {"1.410", false},
                                                                      {"1.4", false},
                                                                      {"abc", false},
                                                                      {"1.5", true},
                                                                      {"2", true},
                                                                      {"１．５", true}}};
    for (const auto& [version, prompts] : cases) {
        service.settings.version = std::string(version);
        messages.messages.clear();
        window.destroyed = false;
        manager.clear();
        MainWindowController fresh(context, settings, tasks);
        // The user declines: start-up stops.
        EXPECT_EQ(fresh.create(directory), !prompts) << version;
        EXPECT_EQ(window.destroyed, prompts) << version;
        if (prompts) {
            EXPECT_EQ(messages.messages,
                      std::vector<std::string>{"澜星PK10平刷冠军单双已经更新至" +
                                               std::string(version) + "\r\n点击确定立即更新"});
        } else {
            EXPECT_TRUE(messages.messages.empty()) << version;
        }
    }
    EXPECT_TRUE(starter.starts.empty());
    EXPECT_FALSE(std::filesystem::exists(updaterPath)) << "declining writes nothing";
}

TEST_F(StartupTest, OkWritesTheUpdaterAndStartsItWithTheFiveArguments) {
    service.settings.version = "1.5";
    service.settings.proupurl = "http://127.0.0.1:19200/download/pk10-update.exe";
    messages.answerOk = true;
    bool splashOpenAtPrompt = true;
    int pumpsBeforePrompt = 0;
    messages.onAsk = [&] {
        splashOpenAtPrompt = splash.open;
        pumpsBeforePrompt = pump.count;
    };
    EXPECT_FALSE(main.create(directory)) << "handing over ends the program";
    EXPECT_FALSE(splashOpenAtPrompt) << "the status window is closed before the prompt";
    EXPECT_GT(pumpsBeforePrompt, 0) << "and its closing is let happen";
    EXPECT_EQ(messages.messages, std::vector<std::string>{std::string(kPrompt)});
    EXPECT_TRUE(window.destroyed);
    EXPECT_FALSE(window.shown);
    EXPECT_FALSE(state.startupDone);
    EXPECT_EQ(manager.planCount(), 0) << "no draw refresh after the hand-over";

    ASSERT_EQ(starter.starts.size(), 1U);
    EXPECT_EQ(starter.starts[0].program, updaterPath);
    EXPECT_EQ(starter.starts[0].arguments,
              (std::vector<std::string>{"澜星PK10平刷冠军单双", "1.41", "1.5",
                                        "http://127.0.0.1:19200/download/pk10-update.exe",
                                        "澜星PK10平刷冠军单双.exe"}));
    EXPECT_EQ(fileContent(updaterPath), updaterBytes);
    struct stat info {};
    ASSERT_EQ(::stat(updaterPath.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0755U);
}

TEST_F(StartupTest, AnUpdaterAlreadyThereIsStartedUnchanged) {
    service.settings.version = "2";
    messages.answerOk = true;
    std::ofstream(updaterPath, std::ios::binary) << "present";
    EXPECT_FALSE(main.create(directory));
    ASSERT_EQ(starter.starts.size(), 1U);
    EXPECT_EQ(fileContent(updaterPath), "present");

    // Nor is anything written through a link left at the updater path.
    std::filesystem::remove(updaterPath);
    const std::filesystem::path target = directory / "elsewhere";
    std::filesystem::create_symlink(target, updaterPath);
    MainWindowController fresh(context, settings, tasks);
    EXPECT_FALSE(fresh.create(directory));
    EXPECT_FALSE(std::filesystem::exists(target));
}

TEST(VersionNumber, ReadsTheLeadingNumber) {
    constexpr std::array<std::pair<std::string_view, float>, 9> cases{{{"1.41", 1.41F},
                                                                       {"1.410", 1.41F},
                                                                       {"１．５", 1.5F},
                                                                       {" +2.5e1x", 25.0F},
                                                                       {"2abc", 2.0F},
                                                                       {"1,5", 1.0F},
                                                                       {"abc", 0.0F},
                                                                       {"v2", 0.0F},
                                                                       {"", 0.0F}}};
    for (const auto& [text, value] : cases) {
        EXPECT_FLOAT_EQ(versionNumber(text), value) << text;
    }
}

}  // namespace
}  // namespace pk10
