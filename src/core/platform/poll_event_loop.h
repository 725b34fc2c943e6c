#pragma once
// An EventLoop on poll(2), for the command-line tool and for tests: the
// caller runs it until what it waits for has happened.
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>

#include "platform/event_loop.h"

namespace cd::platform {

class PollEventLoop : public EventLoop {
public:
    PollEventLoop();
    ~PollEventLoop() override;

    std::unique_ptr<SocketWatch> watchSocket(int fd, std::function<void(bool, bool)> ready) override;
    std::unique_ptr<Timer> makeTimer(std::function<void()> fire) override;
    void post(std::function<void()> call) override;

    /// Serves what is due, waiting at most maxWait for something to be.
    void runOnce(std::chrono::milliseconds maxWait);
    /// Runs until done() is true or timeout has passed; true when done.
    bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);
    /// Runs until nothing is watched, timed or posted any more, or timeout.
    bool runUntilIdle(std::chrono::milliseconds timeout);
    bool idle() const;

private:
    struct Socket {
        int fd;
        bool read = false;
        bool write = false;
        std::function<void(bool, bool)> ready;
    };
    struct Pending {
        std::chrono::steady_clock::time_point due;
        std::function<void()> fire;
    };
    class Watch;
    class LoopTimer;

    std::uint64_t nextId_ = 1;
    std::map<std::uint64_t, Socket> sockets_;
    std::map<std::uint64_t, Pending> timers_;
    std::deque<std::function<void()>> posted_;
    std::shared_ptr<bool> alive_;
};

}  // namespace cd::platform
