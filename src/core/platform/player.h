#pragma once
#include <functional>
#include <string>

namespace cd::platform {

/// What the player knows of the medium it plays. Texts are UTF-8.
struct MediaInfo {
    /// The title the stream sends while it plays (an internet radio's ICY
    /// StreamTitle) or the medium's own title tag; empty when it has none.
    std::string streamTitle;
    /// The medium's title as the player names it: its title tag, else its
    /// file name.
    std::string mediaTitle;
    std::string audioCodec;
    std::string videoCodec;
    /// Audio and video together, in kbit/s; 0 when not known.
    int bitrateKbps = 0;
    /// The picture's size in pixels; 0 when there is no picture (sound
    /// only, or a cover image).
    int width = 0;
    int height = 0;
    /// Length in seconds; 0 for a live stream, which has none.
    double duration = 0;

    bool hasVideo() const { return width > 0 && height > 0; }
    bool operator==(const MediaInfo&) const = default;
};

/// What stands in the picture's place when there is no picture to show:
/// a plain panel with a heading (the channel) and a line under it (what the
/// channel plays now). Not shown: the picture, or black.
struct PlayerPanel {
    bool shown = false;
    std::string heading;
    std::string line;
    bool operator==(const PlayerPanel&) const = default;
};

/// What the player tells the program, on the UI thread.
struct PlayerEvents {
    /// The medium opened and plays.
    std::function<void()> started;
    /// The medium could not be opened or played; reason in the player's words.
    std::function<void(const std::string& reason)> failed;
    /// The medium ended by itself (a file's end, a stream the server closed).
    std::function<void()> ended;
    /// What the player knows of the medium changed (title, codec, size ...).
    std::function<void(const MediaInfo& info)> infoChanged;
    std::function<void(bool paused)> pausedChanged;
    /// Volume 0 to 100, and whether the sound is off.
    std::function<void(int volume, bool muted)> volumeChanged;
    /// The user stopped playback with the player's own Stop button.
    std::function<void()> userStopped;
    /// The picture went to or came back from the full screen (also when the
    /// desktop took it back).
    std::function<void(bool fullScreen)> fullScreenChanged;
};

/// The embedded media player's operations. Visibility and geometry live on
/// the window model's player control, which the shell follows.
class Player {
public:
    virtual ~Player() = default;
    /// Replaces what plays and starts the new medium at once (auto-start).
    /// A medium that cannot be opened is also reported by the player itself.
    virtual void setUrl(const std::string& url) = 0;
    /// Opens url again after it dropped: like setUrl, but a failure is
    /// reported only through the events, never to the user by the player.
    virtual void reopen(const std::string& url) = 0;
    /// Resumes a paused medium, or starts the last one again after stop().
    virtual void play() = 0;
    virtual void pause() = 0;
    /// controls.stop
    virtual void stop() = 0;
    /// close: releases the medium.
    virtual void close() = 0;
    /// Moves the position by seconds (negative: back); media with a length only.
    virtual void seekBy(double seconds) = 0;
    /// 0 to 100.
    virtual void setVolume(int volume) = 0;
    virtual void setMuted(bool muted) = 0;
    /// Shows the picture alone on the whole screen, or back in the window.
    virtual void setFullScreen(bool fullScreen) = 0;
    /// What to show instead of the picture (see PlayerPanel).
    virtual void showPanel(const PlayerPanel& panel) = 0;
    /// Where the player's events go from now on (one listener).
    virtual void setEvents(PlayerEvents events) = 0;
};

}  // namespace cd::platform
