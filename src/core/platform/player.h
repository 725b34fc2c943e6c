#pragma once
#include <string>

namespace cd::platform {

/// The embedded media player's operations. Visibility and geometry live on
/// the window model's WindowsMediaPlayer1 control, which the shell follows.
class Player {
public:
    virtual ~Player() = default;
    /// Replaces what plays and starts the new medium at once (auto-start).
    virtual void setUrl(const std::string& url) = 0;
    /// controls.stop
    virtual void stop() = 0;
    /// close: releases the medium.
    virtual void close() = 0;
};

}  // namespace cd::platform
