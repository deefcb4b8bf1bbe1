#pragma once

#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "plans/plan_box.h"
#include "ui/browser_opener.h"
#include "ui/main_window.h"
#include "ui/message_boxes.h"
#include "ui/process_starter.h"
#include "ui/service_operations.h"
#include "ui/splash_window.h"

namespace pk10::testing {

// A service whose answers the test sets, counting what was asked.
class ScriptedService final : public ServiceOperations {
public:
    bool init(std::string_view url, std::int32_t appId) override {
        initCalls.emplace_back(url);
        lastAppId = appId;
        if (initSucceedsAt.empty() || url != initSucceedsAt) {
            lastErrorText = "初始化连接服务器失败！：服务器访问失败! 错误代码：9999";
            return false;
        }
        return true;
    }
    std::string lastError() const override { return lastErrorText; }
    void copySettings(AppSettings& target) const override { target = settings; }
    bool newestDraw(std::vector<std::string>& fields) override {
        ++newestDrawCalls;
        if (newestLine.empty()) {
            return false;
        }
        fields = splitPieces(newestLine);
        return true;
    }
    bool selectDraw(std::int32_t count, DrawTable& table) override {
        selectCounts.push_back(count);
        if (!selectOk) {
            lastErrorText = "获取最新开奖数据失败!服务器访问失败! 错误代码：9999";
            return false;
        }
        if (auto built = buildDrawTable(tableText)) {
            table = *built;
        }
        return true;
    }
    std::string latestPeriod() override {
        ++latestPeriodCalls;
        return newestPeriod;
    }

    static std::vector<std::string> splitPieces(const std::string& line) {
        std::vector<std::string> out;
        std::size_t start = 0;
        for (;;) {
            const auto at = line.find("| |", start);
            out.push_back(line.substr(start, at - start));
            if (at == std::string::npos) {
                return out;
            }
            start = at + 3;
        }
    }

    std::string initSucceedsAt;
    AppSettings settings;
    std::string newestLine;
    std::string newestPeriod;
    bool selectOk = true;
    std::string tableText;
    std::string lastErrorText;

    std::vector<std::string> initCalls;
    std::int32_t lastAppId = 0;
    int newestDrawCalls = 0;
    int latestPeriodCalls = 0;
    std::vector<std::int32_t> selectCounts;
};

// Records what the logic writes into the window, as one event list.
class RecordingWindow final : public MainWindow, public PlanBox {
public:
    void setCountdownText(std::string_view text) override {
        events.push_back("countdown " + std::string(text));
    }
    void addHistoryRow(std::string_view period, std::string_view numbers) override {
        rows.insert(rows.begin(), std::string(period) + " " + std::string(numbers));
        events.push_back("row " + std::string(period));
    }
    void showLatestDraw(std::string_view caption, std::string_view numbers) override {
        events.push_back("latest " + std::string(caption) + " " + std::string(numbers));
    }
    void setDrawTimerRunning(bool running) override { timerRunning = running; }
    std::int32_t readFormulaPeriods() const override { return selected + 1; }
    void setTitle(std::string_view text) override { title = text; }
    void selectFormulaItem(int index) override { selected = index >= 0 && index < 3 ? index : -1; }
    int selectedFormulaItem() const override { return selected; }
    void setPeriodPanelWhite() override { panelWhite = true; }
    void clearHistoryRows() override { rows.clear(); }
    PlanBox& planBox() override { return *this; }
    void setAdvertAddress(std::string_view address) override {
        advert = address;
        events.push_back("advert " + std::string(address));
    }
    void showAndActivate() override { shown = true; }
    void destroyWindow() override { destroyed = true; }
    void showText(std::string_view text) override {
        planText = text;
        events.push_back("plan");
        ++planShows;
    }

    std::vector<std::string> events;
    std::vector<std::string> rows;  // top first
    bool timerRunning = false;
    int selected = -1;
    std::string title;
    bool panelWhite = false;
    std::string advert;
    bool shown = false;
    bool destroyed = false;
    std::string planText;
    int planShows = 0;
};

class RecordingSplash final : public SplashWindow {
public:
    bool showStatus(std::string_view text) override {
        if (open) {
            return false;
        }
        open = true;
        message = text;
        return true;
    }
    bool closeStatus() override {
        const bool was = open;
        open = false;
        return was;
    }
    bool open = false;
    std::string message;
};

class RecordingMessageBoxes final : public MessageBoxes {
public:
    void showMessage(std::string_view text) override { messages.emplace_back(text); }
    bool askOkCancel(std::string_view text) override {
        messages.emplace_back(text);
        if (onAsk) {
            onAsk();
        }
        return answerOk;
    }
    std::vector<std::string> messages;
    bool answerOk = false;  // the user's choice in an OK/Cancel box
    std::function<void()> onAsk;
};

// Records the programs it is asked to start instead of starting them.
class RecordingStarter final : public ProcessStarter {
public:
    struct Start {
        std::filesystem::path program;
        std::vector<std::string> arguments;
    };
    bool start(const std::filesystem::path& program,
               const std::vector<std::string>& arguments) override {
        starts.push_back({program, arguments});
        return true;
    }
    std::vector<Start> starts;
};

class RecordingOpener final : public BrowserOpener {
public:
    void open(std::string_view address) override { opened.emplace_back(address); }
    std::vector<std::string> opened;
};

}  // namespace pk10::testing
