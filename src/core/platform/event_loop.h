#pragma once
// The program's one event loop, as the core sees it: sockets to watch,
// timers and posted calls, all served on the UI thread. The Qt shell runs it
// with socket notifiers and timers; the tool and tests with PollEventLoop.
// Nothing in the core ever waits: work that needs the network or time is
// started here and carried on from these callbacks.
#include <chrono>
#include <functional>
#include <memory>

namespace cd::platform {

class EventLoop {
public:
    virtual ~EventLoop() = default;

    /// A watched socket; destroying it stops the watch at once.
    class SocketWatch {
    public:
        virtual ~SocketWatch() = default;
        /// Which readiness to report from now on.
        virtual void want(bool read, bool write) = 0;
    };
    /// A single-shot timer; destroying it stops it at once.
    class Timer {
    public:
        virtual ~Timer() = default;
        /// (Re)starts the timer; it fires once after delay.
        virtual void start(std::chrono::milliseconds delay) = 0;
        virtual void stop() = 0;
    };

    /// Calls ready(readable, writable) whenever fd is ready as wanted.
    virtual std::unique_ptr<SocketWatch> watchSocket(int fd,
                                                     std::function<void(bool readable, bool writable)> ready) = 0;
    virtual std::unique_ptr<Timer> makeTimer(std::function<void()> fire) = 0;
    /// Runs call soon, on the loop, after the current handler has returned.
    virtual void post(std::function<void()> call) = 0;
};

}  // namespace cd::platform
