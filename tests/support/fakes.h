#pragma once
// Test doubles for the platform ports: they record what the core asked of
// them and answer as the test says.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/browser.h"
#include "platform/dialogs.h"
#include "platform/event_pump.h"
#include "platform/player.h"
#include "platform/shell.h"

namespace cd::test {

class FakeEventPump : public platform::EventPump {
public:
    void runPending() override {
        ++calls;
        if (onPump) onPump();
    }
    int calls = 0;
    /// Runs on every pump: lets a test nest an event inside a fetch.
    std::function<void()> onPump;
};

class FakePlayer : public platform::Player {
public:
    void setUrl(const std::string& url) override {
        log.push_back("url:" + url);
        urls.push_back(url);
    }
    void reopen(const std::string& url) override {
        log.push_back("reopen:" + url);
        reopened.push_back(url);
    }
    void play() override { log.push_back("play"); }
    void pause() override { log.push_back("pause"); }
    void stop() override { log.push_back("stop"); }
    void close() override { log.push_back("close"); }
    void seekBy(double seconds) override { seeks.push_back(seconds); }
    // Like the real player, the new volume, mute and screen are told back at once.
    void setVolume(int v) override {
        volume = v;
        if (events.volumeChanged) events.volumeChanged(volume, muted);
    }
    void setMuted(bool m) override {
        muted = m;
        if (events.volumeChanged) events.volumeChanged(volume, muted);
    }
    void setFullScreen(bool on) override {
        fullScreen = on;
        if (events.fullScreenChanged) events.fullScreenChanged(on);
    }
    void showPanel(const platform::PlayerPanel& p) override { panels.push_back(p); }
    void setEvents(platform::PlayerEvents e) override { events = std::move(e); }
    /// The player says what it would say after playing or failing.
    void reportStarted() {
        if (events.started) events.started();
    }
    void reportFailed(const std::string& reason) {
        if (events.failed) events.failed(reason);
    }
    void reportEnded() {
        if (events.ended) events.ended();
    }
    void reportInfo(const platform::MediaInfo& info) {
        if (events.infoChanged) events.infoChanged(info);
    }
    void reportPaused(bool paused) {
        if (events.pausedChanged) events.pausedChanged(paused);
    }
    void reportUserStop() {
        if (events.userStopped) events.userStopped();
    }
    /// The panel shown now (not shown before the first showPanel).
    platform::PlayerPanel panel() const { return panels.empty() ? platform::PlayerPanel{} : panels.back(); }

    std::vector<std::string> urls;
    std::vector<std::string> reopened;
    std::vector<std::string> log;
    std::vector<double> seeks;
    std::vector<platform::PlayerPanel> panels;
    int volume = 50;
    bool muted = false;
    bool fullScreen = false;
    platform::PlayerEvents events;
};

class FakeBrowser : public platform::Browser {
public:
    void navigate(const std::string& a) override { navigated.push_back(a); }
    void navigate2(const std::string& p) override { navigated2.push_back(p); }
    std::vector<std::string> navigated;
    std::vector<std::string> navigated2;
};

struct ShownBox {
    std::string text;
    std::string title;
    platform::Buttons buttons;
};

class FakeDialogs : public platform::Dialogs {
public:
    platform::Answer messageBox(const std::string& text, const std::string& title, platform::Buttons buttons) override {
        shown.push_back({text, title, buttons});
        if (!answers.empty()) {
            const auto a = answers.front();
            answers.pop_front();
            return a;
        }
        return buttons == platform::Buttons::AbortRetryIgnore ? platform::Answer::Abort : platform::Answer::OK;
    }
    std::vector<ShownBox> shown;
    /// Answers given in turn; when empty, OK (Abort for Abort/Retry/Ignore).
    std::deque<platform::Answer> answers;
};

class FakeShell : public platform::Shell {
public:
    bool open(const std::string& what) override {
        opened.push_back(what);
        return result;
    }
    std::vector<std::string> opened;
    bool result = true;
};

}  // namespace cd::test
