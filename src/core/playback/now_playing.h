#pragma once
// What the player is doing, as the rest of the desktop may want to know it:
// the media keys and the desktop's player widgets (through the shell's MPRIS
// service), and the screensaver, which must not start while a picture plays.
// The playback controller keeps it; the shell only reads it.
#include <string>

#include "platform/player.h"
#include "ui/signal.h"

namespace cd::playback {

enum class PlayState { Stopped, Playing, Paused };

struct NowPlayingState {
    PlayState state = PlayState::Stopped;
    /// The channel's name, or the title of a file played on its own (UTF-8).
    std::string title;
    /// What the channel plays now (an internet radio's stream title).
    std::string streamTitle;
    /// The address or path given to the player.
    std::string address;
    platform::MediaInfo media;
    int volume = 50;
    bool muted = false;
    bool fullScreen = false;

    /// The desktop should keep the screen awake: a picture is playing.
    bool keepScreenAwake() const { return state == PlayState::Playing && media.hasVideo(); }
    bool operator==(const NowPlayingState&) const = default;
};

class NowPlaying {
public:
    const NowPlayingState& state() const { return state_; }
    /// Replaces the state; raises changed only when something differs.
    void update(const NowPlayingState& next) {
        if (next == state_) return;
        state_ = next;
        changed.raise();
    }

    /// Raised after every change of the state.
    ui::Signal<> changed;

private:
    NowPlayingState state_;
};

}  // namespace cd::playback
