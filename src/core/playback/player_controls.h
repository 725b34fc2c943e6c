#pragma once
// What the user does to the player beyond choosing what plays: the keys of
// the main window, a double click on the picture, the desktop's media keys.
// The shell says which key was pressed and where the focus was; this class
// decides what it means and tells the player. It also keeps the volume and
// the mute switch in the per-user settings, so they survive a restart.
#include "platform/player.h"
#include "platform/settings_store.h"
#include "playback/playback_controller.h"

namespace cd::playback {

/// The keys the player listens to.
enum class PlayerKey { Space, Left, Right, Up, Down, M, F, Escape };

/// Where the keyboard focus was when a key was pressed.
enum class KeyPlace {
    /// A text box or anything else that takes typed text: every key is its own.
    TextField,
    /// Anywhere else in the main window (lists, buttons): Space and the
    /// arrows keep their usual meaning there.
    Window,
    /// The picture or the player's control bar.
    Player,
    /// The picture on the whole screen.
    FullScreen,
};

/// Settings keys (per-user store, section "Settings").
inline constexpr const char* kVolumeKey = "Volume";  // "0" to "100", default "50"
inline constexpr const char* kMuteKey = "Mute";      // "1" muted, default "0"

class PlayerControls {
public:
    static constexpr int kVolumeStep = 5;
    static constexpr double kSeekStep = 10.0;

    /// Starts following the volume and mute state, to save every change.
    PlayerControls(platform::Player& player, PlaybackController& playback, platform::SettingsStore& settings);

    /// Gives the player the saved volume and mute state (start-up).
    void restoreVolume();

    /// A key pressed: ctrl tells whether Ctrl was held. True when the key
    /// was the player's; false leaves it to the focused control.
    /// M mutes, F goes to or leaves the full screen, Ctrl+Up/Down change the
    /// volume, anywhere but in a text field; Space pauses and resumes and
    /// Left/Right seek 10 s (media with a length) on the player or the full
    /// screen; Escape leaves the full screen.
    bool keyPressed(PlayerKey key, bool ctrl, KeyPlace place);

    void play();
    void pause();
    void togglePause();
    /// Stops, ending any tries to reconnect.
    void stop();
    void setVolume(int volume);
    void changeVolume(int delta);
    void toggleMute();
    void toggleFullScreen();
    void leaveFullScreen();
    /// Only media with a length can be moved in; a live stream ignores it.
    void seekBy(double seconds);

private:
    void save();

    platform::Player& player_;
    PlaybackController& playback_;
    platform::SettingsStore& settings_;
    int savedVolume_ = -1;
    int savedMuted_ = -1;
};

}  // namespace cd::playback
