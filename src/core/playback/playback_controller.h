#pragma once
// One owner for everything that takes the player: channel and favourite
// clicks (probe, then play, or the offline picture and a report), video
// pages and local files. The newest request wins: starting one cancels the
// probe of the one before, in this one place, so an older answer can never
// play over a newer choice.
//
// It is also the one listener of the player's events: it keeps the status
// line, the panel that stands in for a missing picture and the now-playing
// state in step with what plays, and reopens a live channel whose stream
// drops (ReconnectPolicy).
#include <chrono>
#include <coroutine>
#include <optional>
#include <string>

#include "fetch/fetcher.h"
#include "fetch/report.h"
#include "localization/message_table.h"
#include "platform/event_loop.h"
#include "platform/player.h"
#include "playback/now_playing.h"
#include "playback/reconnect_policy.h"
#include "ui/control.h"
#include "util/task.h"

namespace cd::playback {

/// The controls the controller shows its outcome on.
struct PlaybackView {
    ui::Control& offlinePicture;
    ui::Control& statusLine;
};

class PlaybackController {
public:
    PlaybackController(platform::EventLoop& loop, fetch::Fetcher& fetcher, fetch::Reporter& reporter,
                       platform::Player& player, PlaybackView view, const localization::MessageTable& messages,
                       ReconnectPolicy policy = {});

    /// A channel chosen (name in the catalogue's code page): the status says
    /// so at once; the address is probed; online, the player gets it;
    /// offline, the offline picture shows with the reason and the address is
    /// reported "OFFLINE" with reportValue (not for an untrusted certificate).
    /// Streaming protocols the player opens itself go straight to it and are
    /// shown offline, unreported, only when the player cannot open them.
    void playChannel(const std::string& name, const std::string& address, const std::string& reportValue);
    /// Something else takes the player or the screen (a local file, a video
    /// page): a channel still being probed or reconnected is given up.
    void supersede();
    /// The user stops playback (keys, media keys): tries to reconnect end.
    void stopByUser();
    /// The program is ending: every probe, try and report is given up.
    void shutDown();

    /// The name (UTF-8) of the channel the player was last given; "" once
    /// something else took the player.
    const std::string& playingName() const { return current_.name; }
    /// Replaces the pauses between tries (tests use short ones); a try
    /// already waiting keeps its pause.
    void setReconnectPolicy(ReconnectPolicy policy) { policy_ = std::move(policy); }

    /// True while a channel's probe is on its way.
    bool probing() const { return request_.running(); }
    /// True while a dropped live channel is being reopened.
    bool reconnecting() const { return reconnect_.running(); }
    NowPlaying& nowPlaying() { return nowPlaying_; }

private:
    /// How one reopening try ended.
    struct TryOutcome {
        bool started = false;
        std::string reason;
    };
    /// co_await inside the reconnect task: the outcome of the try just made.
    class TryAwaiter {
    public:
        explicit TryAwaiter(PlaybackController& owner) : owner_(owner) {}
        TryAwaiter(TryAwaiter&& other) noexcept : owner_(other.owner_) {}
        TryAwaiter& operator=(TryAwaiter&&) = delete;
        ~TryAwaiter() {
            if (owner_.tryWaiting_ == waiting_) owner_.tryWaiting_ = {};
        }
        bool await_ready() const noexcept { return false; }
        void await_suspend(std::coroutine_handle<> waiting) {
            waiting_ = waiting;
            owner_.tryWaiting_ = waiting;
        }
        TryOutcome await_resume() { return std::move(owner_.tryOutcome_); }

    private:
        PlaybackController& owner_;
        std::coroutine_handle<> waiting_;
    };

    /// What the player was last given: a channel (its UTF-8 name and
    /// address), or a file (no name: its title comes from the player).
    struct Current {
        std::string name;
        std::string address;
        bool playerDecides = false;  // the player alone says whether it is offline
        bool channel = false;        // a channel, which may be reopened when it drops
    };
    /// A reopened stream, and when it played again.
    struct Recovery {
        int attempt = 0;
        std::chrono::steady_clock::time_point at;
    };

    util::Task<> channelRequest(std::string name, std::string address, std::string reportValue);
    util::Task<> reconnect(int firstTry, std::string reason);
    void onStarted();
    void onFailed(const std::string& reason);
    void onEnded();
    void onInfo(const platform::MediaInfo& info);
    void onPaused(bool paused);
    void onUserStopped();
    /// The stream of a playing live channel dropped: reopen it, or say it stopped.
    bool reconnectIfLive(const std::string& reason);
    /// Hands a try's outcome to the reconnect task waiting for one; false when none waits.
    bool settleTry(TryOutcome outcome);
    void stopped(std::string status);
    void setStatus(std::string text);
    void setPlayingStatus();
    std::string shownTitle() const;
    /// The now-playing state and the panel, from what is known now.
    void publish();

    platform::EventLoop& loop_;
    fetch::Fetcher& fetcher_;
    fetch::Reporter& reporter_;
    platform::Player& player_;
    PlaybackView view_;
    const localization::MessageTable& messages_;
    ReconnectPolicy policy_;
    util::TaskSlot request_;
    util::TaskSlot reconnect_;
    std::coroutine_handle<> tryWaiting_;
    TryOutcome tryOutcome_;
    std::optional<Recovery> recovered_;
    NowPlaying nowPlaying_;

    Current current_;
    platform::MediaInfo media_;
    PlayState state_ = PlayState::Stopped;
    int volume_ = 50;
    bool muted_ = false;
    bool fullScreen_ = false;
    /// Given to the player and not yet started, failed or ended.
    bool awaitingStart_ = false;
    /// The medium last given to the player has started and not ended since.
    bool started_ = false;
    /// Something else took the player (a local file): what starts next is it.
    bool fileComing_ = false;
    /// The status line shows what plays, so news of the medium may update it.
    bool statusShowsPlaying_ = false;
    platform::PlayerPanel panel_;
};

}  // namespace cd::playback
