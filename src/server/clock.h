#pragma once
// Time as the server sees it: wall-clock seconds decide a report's day and
// a catalogue's date, a steady clock drives the rate limiter and the caches.
// Tests pass their own clock to move across a day boundary.
#include <chrono>
#include <cstdint>

namespace cd::server {

class Clock {
public:
    virtual ~Clock() = default;
    /// Seconds since 1970-01-01 00:00 UTC.
    virtual std::int64_t unixSeconds() const = 0;
    /// A monotonic time for intervals.
    virtual std::chrono::steady_clock::time_point steadyNow() const = 0;
};

class SystemClock final : public Clock {
public:
    std::int64_t unixSeconds() const override {
        return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
            .count();
    }
    std::chrono::steady_clock::time_point steadyNow() const override { return std::chrono::steady_clock::now(); }
};

/// The UTC day a moment falls on, counted from 1970-01-01 (day 0).
inline std::int64_t dayOf(std::int64_t unixSeconds) {
    return unixSeconds >= 0 ? unixSeconds / 86400 : (unixSeconds - 86399) / 86400;
}

}  // namespace cd::server
