#pragma once
// One owner for everything that takes the player: channel and favourite
// clicks (probe, then play, or the offline picture and a report), video
// pages and local files. The newest request wins: starting one cancels the
// probe of the one before, in this one place, so an older answer can never
// play over a newer choice.
#include <string>

#include "fetch/fetcher.h"
#include "fetch/report.h"
#include "localization/message_table.h"
#include "platform/player.h"
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
    PlaybackController(fetch::Fetcher& fetcher, fetch::Reporter& reporter, platform::Player& player, PlaybackView view,
                       const localization::MessageTable& messages);

    /// A channel chosen (name in the catalogue's code page): the status says
    /// so at once; the address is probed; online, the player gets it;
    /// offline, the offline picture shows with the reason and the address is
    /// reported "OFFLINE" with reportValue (not for an untrusted certificate).
    /// Streaming protocols the player opens itself go straight to it and are
    /// shown offline, unreported, only when the player cannot open them.
    void playChannel(const std::string& name, const std::string& address, const std::string& reportValue);
    /// Something else takes the player or the screen (a local file, a video
    /// page): a channel still being probed is given up.
    void supersede();
    /// The program is ending: every probe and report is given up.
    void shutDown();

    /// The name (UTF-8) of the channel the player was last given; "" once
    /// something else took the player.
    const std::string& playingName() const { return playingName_; }

    /// True while a channel's probe is on its way.
    bool probing() const { return request_.running(); }

private:
    util::Task<> channelRequest(std::string name, std::string address, std::string reportValue);
    void onStarted();
    void onFailed(const std::string& reason);
    void setStatus(std::string text);

    fetch::Fetcher& fetcher_;
    fetch::Reporter& reporter_;
    platform::Player& player_;
    PlaybackView view_;
    const localization::MessageTable& messages_;
    util::TaskSlot request_;
    /// What the player was last given by a channel click: its name (UTF-8)
    /// and whether the player itself decides if it is offline.
    std::string playingName_;
    bool playerDecides_ = false;
    bool awaitingStart_ = false;
};

}  // namespace cd::playback
