#include "playback/playback_controller.h"

#include "fetch/stream_probe.h"
#include "platform/sleep.h"
#include "playback/status_text.h"
#include "util/display_text.h"
#include "util/text.h"

namespace cd::playback {

using Clock = std::chrono::steady_clock;

PlaybackController::PlaybackController(platform::EventLoop& loop, fetch::Fetcher& fetcher, fetch::Reporter& reporter,
                                       platform::Player& player, PlaybackView view,
                                       const localization::MessageTable& messages, ReconnectPolicy policy)
    : loop_(loop),
      fetcher_(fetcher),
      reporter_(reporter),
      player_(player),
      view_(view),
      messages_(messages),
      policy_(std::move(policy)) {
    platform::PlayerEvents events;
    events.started = [this] { onStarted(); };
    events.failed = [this](const std::string& reason) { onFailed(reason); };
    events.ended = [this] { onEnded(); };
    events.infoChanged = [this](const platform::MediaInfo& info) { onInfo(info); };
    events.pausedChanged = [this](bool paused) { onPaused(paused); };
    events.volumeChanged = [this](int volume, bool muted) {
        volume_ = volume;
        muted_ = muted;
        publish();
    };
    events.userStopped = [this] { onUserStopped(); };
    events.fullScreenChanged = [this](bool fullScreen) {
        fullScreen_ = fullScreen;
        publish();
    };
    player_.setEvents(std::move(events));
}

void PlaybackController::playChannel(const std::string& name, const std::string& address,
                                     const std::string& reportValue) {
    request_.start(channelRequest(util::displayText(name), address, reportValue));
}

void PlaybackController::supersede() {
    request_.cancel();
    reconnect_.cancel();
    // What plays next is not a channel: it is never reopened, and its title
    // comes from the player.
    current_.channel = false;
    current_.playerDecides = false;
    awaitingStart_ = false;
    fileComing_ = true;
}

void PlaybackController::stopByUser() {
    player_.stop();
    onUserStopped();
}

void PlaybackController::shutDown() {
    request_.cancel();
    reconnect_.cancel();
    reporter_.cancelAll();
    // The player is stopped next: the desktop hears at once that nothing
    // plays any more (the screensaver may start again).
    awaitingStart_ = false;
    started_ = false;
    state_ = PlayState::Stopped;
    current_.channel = false;
    publish();
}

util::Task<> PlaybackController::channelRequest(std::string name, std::string address, std::string reportValue) {
    // Another channel chosen: whatever was being reopened is given up, and
    // a drop of what still plays meanwhile is no longer ours to mend.
    reconnect_.cancel();
    recovered_.reset();
    fileComing_ = false;
    current_.channel = false;
    awaitingStart_ = false;
    setStatus(connectingText(messages_, name));
    const fetch::ProbeVerdict verdict = co_await fetch::probeStream(fetcher_, address);
    if (verdict.online) {
        current_ = Current{name, address, verdict.reason == fetch::ProbeReason::PlayerOpens, true};
        media_ = {};
        started_ = false;
        awaitingStart_ = true;
        player_.setUrl(address);
        if (!current_.playerDecides) setPlayingStatus();
        publish();
        co_return;
    }
    view_.offlinePicture.setVisible(true);
    setStatus(offlineText(messages_, name, verdict));
    // An untrusted certificate says nothing about the channel, only about
    // this machine's trust.
    if (verdict.reason != fetch::ProbeReason::Certificate) reporter_.SubmitReport(address, "OFFLINE", reportValue);
}

util::Task<> PlaybackController::reconnect(int firstTry, std::string reason) {
    // Its own copy: a policy replaced meanwhile cannot shorten the list it counts in.
    const ReconnectPolicy policy = policy_;
    const int tries = policy.tries();
    for (int attempt = firstTry; attempt <= tries; ++attempt) {
        setStatus(reconnectingText(messages_, current_.name, attempt, tries));
        co_await platform::sleepFor(loop_, policy.delays[static_cast<std::size_t>(attempt - 1)]);
        // Straight to the player: the stream answered before, so no probe,
        // no report, and no box of the player's own if it does not now.
        media_ = {};
        started_ = false;
        awaitingStart_ = true;
        player_.reopen(current_.address);
        publish();
        TryOutcome outcome = co_await TryAwaiter(*this);
        if (outcome.started) {
            recovered_ = Recovery{attempt, Clock::now()};
            co_return;
        }
        reason = std::move(outcome.reason);
    }
    stopped(stoppedText(messages_, current_.name, reason));
}

bool PlaybackController::settleTry(TryOutcome outcome) {
    if (!tryWaiting_) return false;
    tryOutcome_ = std::move(outcome);
    std::exchange(tryWaiting_, {}).resume();
    return true;
}

void PlaybackController::onStarted() {
    // Whatever plays now, the picture of an earlier offline channel is stale.
    view_.offlinePicture.setVisible(false);
    if (fileComing_) {
        // A local file took the player: no channel plays any more.
        fileComing_ = false;
        current_ = {};
        media_ = {};
    }
    started_ = true;
    state_ = PlayState::Playing;
    awaitingStart_ = false;
    // The user started the stream again while a try was still to come.
    if (reconnect_.running() && !tryWaiting_) reconnect_.cancel();
    setPlayingStatus();
    publish();
    settleTry(TryOutcome{true, {}});
}

void PlaybackController::onFailed(const std::string& reason) {
    const bool wasWaiting = awaitingStart_;
    awaitingStart_ = false;
    if (settleTry(TryOutcome{false, reason})) return;
    if (reconnectIfLive(reason)) return;
    started_ = false;
    state_ = PlayState::Stopped;
    if (!current_.channel) {
        publish();
        return;
    }
    if (current_.playerDecides && wasWaiting) {
        view_.offlinePicture.setVisible(true);
        setStatus(util::fillPlaceholders(messages_.getMessages("MSG_STATUS_OFFLINE"), {current_.name, reason}));
    } else {
        setStatus(notPlayedText(messages_, current_.name, reason));
    }
    publish();
}

void PlaybackController::onEnded() {
    awaitingStart_ = false;
    if (settleTry(TryOutcome{false, messages_.fragment("MSG_REASON_STREAMENDED")})) return;
    if (reconnectIfLive(messages_.fragment("MSG_REASON_STREAMENDED"))) return;
    started_ = false;
    state_ = PlayState::Stopped;
    const std::string title = shownTitle();
    if (statusShowsPlaying_ && !title.empty()) setStatus(userStoppedText(messages_, title));
    publish();
}

bool PlaybackController::reconnectIfLive(const std::string& reason) {
    // Only a channel that was playing, has no length (a live stream) and
    // was not paused by the user: a file that ends has simply ended.
    const bool live = current_.channel && started_ && media_.duration <= 0 && state_ == PlayState::Playing;
    if (!live) return false;
    started_ = false;
    state_ = PlayState::Stopped;
    int firstTry = 1;
    if (recovered_ && Clock::now() - recovered_->at < policy_.steadyPlay) firstTry = recovered_->attempt + 1;
    recovered_.reset();
    if (firstTry > policy_.tries()) {
        stopped(stoppedText(messages_, current_.name, reason));
        return true;
    }
    publish();
    reconnect_.start(reconnect(firstTry, reason));
    return true;
}

void PlaybackController::onInfo(const platform::MediaInfo& info) {
    media_ = info;
    if (statusShowsPlaying_ && started_) setPlayingStatus();
    publish();
}

void PlaybackController::onPaused(bool paused) {
    if (!started_) return;
    state_ = paused ? PlayState::Paused : PlayState::Playing;
    publish();
}

void PlaybackController::onUserStopped() {
    request_.cancel();
    reconnect_.cancel();
    recovered_.reset();
    awaitingStart_ = false;
    started_ = false;
    state_ = PlayState::Stopped;
    const std::string title = shownTitle();
    if (!title.empty()) setStatus(userStoppedText(messages_, title));
    publish();
}

void PlaybackController::stopped(std::string status) {
    // The reason is in the status line; the channel is not offline for
    // that (it played), so no picture and no report.
    started_ = false;
    state_ = PlayState::Stopped;
    setStatus(std::move(status));
    publish();
}

void PlaybackController::setStatus(std::string text) {
    statusShowsPlaying_ = false;
    view_.statusLine.setCaption(std::move(text));
}

void PlaybackController::setPlayingStatus() {
    statusShowsPlaying_ = true;
    const std::string title = shownTitle();
    // A file's title comes with the player's news of it, a moment later.
    if (!title.empty()) view_.statusLine.setCaption(nowPlayingText(messages_, title, media_));
}

std::string PlaybackController::shownTitle() const {
    if (!current_.name.empty()) return current_.name;
    return media_.mediaTitle;
}

void PlaybackController::publish() {
    NowPlayingState next;
    next.state = state_;
    next.title = shownTitle();
    next.streamTitle = media_.streamTitle == next.title ? std::string() : media_.streamTitle;
    next.address = current_.address;
    next.media = media_;
    next.volume = volume_;
    next.muted = muted_;
    next.fullScreen = fullScreen_;

    // The picture shows only while a started medium has one; otherwise a
    // plain panel names what plays (or played), so no frame of an earlier
    // medium is ever left standing.
    platform::PlayerPanel panel;
    const bool picture = started_ && state_ != PlayState::Stopped && media_.hasVideo();
    if (!picture && !next.title.empty()) panel = platform::PlayerPanel{true, next.title, next.streamTitle};
    if (panel != panel_) {
        panel_ = panel;
        player_.showPanel(panel_);
    }
    nowPlaying_.update(next);
}

}  // namespace cd::playback
