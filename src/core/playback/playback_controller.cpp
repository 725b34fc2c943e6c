#include "playback/playback_controller.h"

#include "fetch/stream_probe.h"
#include "playback/status_text.h"
#include "util/code_page.h"
#include "util/text.h"

namespace cd::playback {

PlaybackController::PlaybackController(fetch::Fetcher& fetcher, fetch::Reporter& reporter, platform::Player& player,
                                       PlaybackView view, const localization::MessageTable& messages)
    : fetcher_(fetcher), reporter_(reporter), player_(player), view_(view), messages_(messages) {
    platform::PlayerEvents events;
    events.started = [this] { onStarted(); };
    events.failed = [this](const std::string& reason) { onFailed(reason); };
    player_.setEvents(std::move(events));
}

void PlaybackController::playChannel(const std::string& name, const std::string& address,
                                     const std::string& reportValue) {
    request_.start(channelRequest(util::codePageToUtf8(name), address, reportValue));
}

void PlaybackController::supersede() {
    request_.cancel();
    playingName_.clear();
    playerDecides_ = false;
    awaitingStart_ = false;
}

void PlaybackController::shutDown() {
    supersede();
    reporter_.cancelAll();
}

util::Task<> PlaybackController::channelRequest(std::string name, std::string address, std::string reportValue) {
    playingName_.clear();
    awaitingStart_ = false;
    playerDecides_ = false;
    setStatus(connectingText(messages_, name));
    const fetch::ProbeVerdict verdict = co_await fetch::probeStream(fetcher_, address);
    if (verdict.online) {
        playingName_ = name;
        playerDecides_ = verdict.reason == fetch::ProbeReason::PlayerOpens;
        awaitingStart_ = true;
        player_.setUrl(address);
        if (!playerDecides_) setStatus(playingText(messages_, name));
        co_return;
    }
    view_.offlinePicture.setVisible(true);
    setStatus(offlineText(messages_, name, verdict));
    // An untrusted certificate says nothing about the channel, only about
    // this machine's trust.
    if (verdict.reason != fetch::ProbeReason::Certificate) reporter_.SubmitReport(address, "OFFLINE", reportValue);
}

void PlaybackController::onStarted() {
    // Whatever plays now, the picture of an earlier offline channel is stale.
    view_.offlinePicture.setVisible(false);
    if (awaitingStart_ && !playingName_.empty()) setStatus(playingText(messages_, playingName_));
    awaitingStart_ = false;
}

void PlaybackController::onFailed(const std::string& reason) {
    if (playingName_.empty()) return;
    if (playerDecides_) {
        view_.offlinePicture.setVisible(true);
        setStatus(util::fillPlaceholders(messages_.getMessages("MSG_STATUS_OFFLINE"), {playingName_, reason}));
    } else {
        setStatus(notPlayedText(messages_, playingName_, reason));
    }
    awaitingStart_ = false;
}

void PlaybackController::setStatus(std::string text) { view_.statusLine.setCaption(std::move(text)); }

}  // namespace cd::playback
