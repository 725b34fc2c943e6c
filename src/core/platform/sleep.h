#pragma once
// co_await sleepFor(loop, delay) inside a task: the task goes on after delay,
// on the loop; the window stays live meanwhile. Destroying the waiting task
// stops the timer, so a cancelled task never wakes.
#include <chrono>
#include <coroutine>
#include <memory>

#include "platform/event_loop.h"

namespace cd::platform {

class SleepAwaiter {
public:
    SleepAwaiter(EventLoop& loop, std::chrono::milliseconds delay) : loop_(&loop), delay_(delay) {}
    SleepAwaiter(SleepAwaiter&&) noexcept = default;
    SleepAwaiter& operator=(SleepAwaiter&&) = delete;

    bool await_ready() const noexcept { return false; }
    void await_suspend(std::coroutine_handle<> waiting) {
        // The timer lives in the awaiter, inside the waiting frame: when the
        // frame goes, the timer goes with it and cannot fire.
        timer_ = loop_->makeTimer([waiting] { waiting.resume(); });
        timer_->start(delay_);
    }
    void await_resume() noexcept {}

private:
    EventLoop* loop_;
    std::chrono::milliseconds delay_;
    std::unique_ptr<EventLoop::Timer> timer_;
};

inline SleepAwaiter sleepFor(EventLoop& loop, std::chrono::milliseconds delay) { return SleepAwaiter(loop, delay); }

}  // namespace cd::platform
