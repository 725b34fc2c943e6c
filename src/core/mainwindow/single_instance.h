#pragma once
// The one-instance rule of a program folder: the first instance holds an
// exclusive lock on the folder itself (its directory, opened for reading)
// for its whole run. Locking the folder needs no file in it, so the rule
// holds for a folder the user may not write, and the lock goes with the
// process, so a crash never leaves a stale "running" mark behind.
//
// The holder is a movable object: the program keeps it for its whole run
// and may hand it on (for instance to code that lets a second instance
// reach the first).
#include <filesystem>

namespace cd::mainwindow {

class SingleInstance {
public:
    /// Tries to become the one instance of folder. Never blocks.
    static SingleInstance claim(const std::filesystem::path& folder);

    SingleInstance() = default;
    ~SingleInstance();
    SingleInstance(SingleInstance&& other) noexcept;
    SingleInstance& operator=(SingleInstance&& other) noexcept;
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    /// True when another process holds the folder (this one then holds nothing).
    bool anotherInstanceRuns() const { return another_; }
    /// True while this object holds the folder's lock.
    bool holdsLock() const { return fd_ >= 0; }
    /// The folder claimed.
    const std::filesystem::path& folder() const { return folder_; }

private:
    std::filesystem::path folder_;
    int fd_ = -1;
    bool another_ = false;
};

}  // namespace cd::mainwindow
