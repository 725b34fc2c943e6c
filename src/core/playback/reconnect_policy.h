#pragma once
#include <chrono>
#include <vector>

namespace cd::playback {

/// How a live channel whose stream drops while it plays is opened again.
struct ReconnectPolicy {
    /// The pause before each try; as many tries as pauses.
    std::vector<std::chrono::milliseconds> delays{std::chrono::seconds(1), std::chrono::seconds(2),
                                                  std::chrono::seconds(4)};
    /// A reopened stream that drops again sooner than this has not
    /// recovered: the next drop takes the next try instead of starting over,
    /// so a server that accepts and hangs up at once is not called forever.
    std::chrono::milliseconds steadyPlay{std::chrono::seconds(10)};

    int tries() const { return static_cast<int>(delays.size()); }
};

}  // namespace cd::playback
