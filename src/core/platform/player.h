#pragma once
#include <functional>
#include <string>

namespace cd::platform {

/// What the player tells the program, on the UI thread.
struct PlayerEvents {
    /// The medium opened and plays.
    std::function<void()> started;
    /// The medium could not be opened or played; reason in the player's words.
    std::function<void(const std::string& reason)> failed;
    /// The medium ended by itself (a file's end, a stream the server closed).
    std::function<void()> ended;
};

/// The embedded media player's operations. Visibility and geometry live on
/// the window model's player control, which the shell follows.
class Player {
public:
    virtual ~Player() = default;
    /// Replaces what plays and starts the new medium at once (auto-start).
    virtual void setUrl(const std::string& url) = 0;
    /// controls.stop
    virtual void stop() = 0;
    /// close: releases the medium.
    virtual void close() = 0;
    /// Where the player's events go from now on (one listener).
    virtual void setEvents(PlayerEvents events) = 0;
};

}  // namespace cd::platform
