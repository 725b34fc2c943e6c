#include "playback/player_controls.h"

#include <algorithm>
#include <charconv>
#include <string>

#include "util/text.h"

namespace cd::playback {

namespace {

/// A stored volume; a value that is no whole number from 0 to 100 (a hand
/// edit, a damaged file) reads as the player's start volume.
int parseVolume(const std::string& text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || text.empty() || value < 0 || value > 100) return 50;
    return value;
}

}  // namespace

PlayerControls::PlayerControls(platform::Player& player, PlaybackController& playback,
                               platform::SettingsStore& settings)
    : player_(player), playback_(playback), settings_(settings) {
    playback_.nowPlaying().changed.connect([this] { save(); });
}

void PlayerControls::restoreVolume() {
    const int volume = parseVolume(settings_.get(kVolumeKey, "50"));
    const bool muted = settings_.get(kMuteKey, "0") == "1";
    // Not saved while it is being given: the volume's news comes before the
    // mute switch's and would store the player's old switch.
    savedVolume_ = -1;
    player_.setVolume(volume);
    player_.setMuted(muted);
    savedVolume_ = volume;
    savedMuted_ = muted ? 1 : 0;
}

void PlayerControls::save() {
    // Nothing is saved before the saved state was given to the player: the
    // player's own start volume must not overwrite it.
    if (savedVolume_ < 0) return;
    const NowPlayingState& s = playback_.nowPlaying().state();
    if (s.volume != savedVolume_ && settings_.set(kVolumeKey, util::decimal(s.volume))) savedVolume_ = s.volume;
    const int muted = s.muted ? 1 : 0;
    if (muted != savedMuted_ && settings_.set(kMuteKey, muted ? "1" : "0")) savedMuted_ = muted;
}

bool PlayerControls::keyPressed(PlayerKey key, bool ctrl, KeyPlace place) {
    if (place == KeyPlace::TextField) return false;
    const bool onPlayer = place == KeyPlace::Player || place == KeyPlace::FullScreen;
    switch (key) {
        case PlayerKey::M:
            if (ctrl) return false;
            toggleMute();
            return true;
        case PlayerKey::F:
            if (ctrl) return false;
            toggleFullScreen();
            return true;
        case PlayerKey::Up:
        case PlayerKey::Down:
            if (!ctrl) return false;
            changeVolume(key == PlayerKey::Up ? kVolumeStep : -kVolumeStep);
            return true;
        case PlayerKey::Escape:
            if (!playback_.nowPlaying().state().fullScreen) return false;
            leaveFullScreen();
            return true;
        case PlayerKey::Space:
            if (ctrl || !onPlayer) return false;
            togglePause();
            return true;
        case PlayerKey::Left:
        case PlayerKey::Right:
            if (ctrl || !onPlayer || playback_.nowPlaying().state().media.duration <= 0) return false;
            seekBy(key == PlayerKey::Right ? kSeekStep : -kSeekStep);
            return true;
    }
    return false;
}

void PlayerControls::play() { player_.play(); }

void PlayerControls::pause() {
    if (playback_.nowPlaying().state().state == PlayState::Playing) player_.pause();
}

void PlayerControls::togglePause() {
    if (playback_.nowPlaying().state().state == PlayState::Playing)
        player_.pause();
    else
        player_.play();
}

void PlayerControls::stop() { playback_.stopByUser(); }

void PlayerControls::setVolume(int volume) { player_.setVolume(std::clamp(volume, 0, 100)); }

void PlayerControls::changeVolume(int delta) { setVolume(playback_.nowPlaying().state().volume + delta); }

void PlayerControls::toggleMute() { player_.setMuted(!playback_.nowPlaying().state().muted); }

void PlayerControls::toggleFullScreen() { player_.setFullScreen(!playback_.nowPlaying().state().fullScreen); }

void PlayerControls::leaveFullScreen() { player_.setFullScreen(false); }

void PlayerControls::seekBy(double seconds) {
    if (playback_.nowPlaying().state().media.duration > 0) player_.seekBy(seconds);
}

}  // namespace cd::playback
