#pragma once
// Owns one mpv core: created on construction, terminated and destroyed with
// the owner, so no path out of the player widget can leak a running core.
#include <mpv/client.h>

namespace cd::app {

class MpvHandle {
public:
    /// Creates an uninitialised core; get() is null when mpv refused (it does
    /// so when LC_NUMERIC is not "C").
    MpvHandle();
    ~MpvHandle();
    MpvHandle(const MpvHandle&) = delete;
    MpvHandle& operator=(const MpvHandle&) = delete;

    mpv_handle* get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    /// Terminates the core now (waits for its threads); get() is null after.
    void reset();

private:
    mpv_handle* handle_ = nullptr;
};

}  // namespace cd::app
