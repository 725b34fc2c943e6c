#pragma once
// Tells whether another instance of the program already runs for this
// program folder: the first instance holds an exclusive lock on a lock file
// for its whole run; the lock goes with the process, so a crash never leaves
// a stale "running" mark behind.
#include <filesystem>

namespace cd::mainwindow {

class SingleInstance {
public:
    explicit SingleInstance(const std::filesystem::path& lockFile);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    /// True when another process holds the lock (this one then holds nothing).
    bool anotherInstanceRuns() const { return another_; }

private:
    int fd_ = -1;
    bool another_ = false;
};

}  // namespace cd::mainwindow
