#include "platform/poll_event_loop.h"

#include <poll.h>

#include <algorithm>
#include <vector>

namespace cd::platform {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Watches and timers may outlive the loop (a fetch object destroyed after
// it); they then do nothing.
class PollEventLoop::Watch : public SocketWatch {
public:
    Watch(PollEventLoop& loop, std::uint64_t id) : loop_(loop), alive_(loop.alive_), id_(id) {}
    ~Watch() override {
        if (*alive_) loop_.sockets_.erase(id_);
    }
    void want(bool read, bool write) override {
        if (!*alive_) return;
        auto it = loop_.sockets_.find(id_);
        if (it == loop_.sockets_.end()) return;
        it->second.read = read;
        it->second.write = write;
    }

private:
    PollEventLoop& loop_;
    std::shared_ptr<bool> alive_;
    std::uint64_t id_;
};

class PollEventLoop::LoopTimer : public Timer {
public:
    LoopTimer(PollEventLoop& loop, std::function<void()> fire)
        : loop_(loop), alive_(loop.alive_), fire_(std::make_shared<std::function<void()>>(std::move(fire))) {}
    ~LoopTimer() override { stop(); }
    void start(milliseconds delay) override {
        stop();
        if (!*alive_) return;
        id_ = loop_.nextId_++;
        auto fire = fire_;
        loop_.timers_[id_] = Pending{Clock::now() + std::max(delay, milliseconds{0}), [fire] { (*fire)(); }};
    }
    void stop() override {
        if (id_ && *alive_) loop_.timers_.erase(id_);
        id_ = 0;
    }

private:
    PollEventLoop& loop_;
    std::shared_ptr<bool> alive_;
    std::shared_ptr<std::function<void()>> fire_;
    std::uint64_t id_ = 0;
};

PollEventLoop::PollEventLoop() : alive_(std::make_shared<bool>(true)) {}

PollEventLoop::~PollEventLoop() { *alive_ = false; }

std::unique_ptr<EventLoop::SocketWatch> PollEventLoop::watchSocket(int fd, std::function<void(bool, bool)> ready) {
    const std::uint64_t id = nextId_++;
    sockets_[id] = Socket{fd, false, false, std::move(ready)};
    return std::make_unique<Watch>(*this, id);
}

std::unique_ptr<EventLoop::Timer> PollEventLoop::makeTimer(std::function<void()> fire) {
    return std::make_unique<LoopTimer>(*this, std::move(fire));
}

void PollEventLoop::post(std::function<void()> call) { posted_.push_back(std::move(call)); }

bool PollEventLoop::idle() const {
    const bool watching =
        std::any_of(sockets_.begin(), sockets_.end(), [](const auto& s) { return s.second.read || s.second.write; });
    return !watching && timers_.empty() && posted_.empty();
}

void PollEventLoop::runOnce(milliseconds maxWait) {
    // Calls posted so far run first; those they post wait for the next
    // round. Having run any, the round ends without waiting, so whoever runs
    // the loop sees at once what they did.
    if (!posted_.empty()) {
        for (std::size_t n = posted_.size(); n > 0 && !posted_.empty(); --n) {
            auto call = std::move(posted_.front());
            posted_.pop_front();
            call();
        }
        return;
    }
    auto now = Clock::now();
    milliseconds wait = maxWait;
    for (const auto& [id, t] : timers_)
        wait = std::min(wait, std::chrono::ceil<milliseconds>(std::max(t.due - now, Clock::duration{0})));

    std::vector<pollfd> fds;
    std::vector<std::uint64_t> ids;
    for (const auto& [id, s] : sockets_) {
        if (!s.read && !s.write) continue;
        short events = 0;
        if (s.read) events |= POLLIN;
        if (s.write) events |= POLLOUT;
        fds.push_back(pollfd{s.fd, events, 0});
        ids.push_back(id);
    }
    const int n = ::poll(fds.data(), fds.size(), static_cast<int>(std::max(wait, milliseconds{0}).count()));
    if (n > 0) {
        for (std::size_t i = 0; i < fds.size(); ++i) {
            if (!fds[i].revents) continue;
            // An earlier callback may have removed this watch.
            auto it = sockets_.find(ids[i]);
            if (it == sockets_.end()) continue;
            const bool bad = fds[i].revents & (POLLERR | POLLHUP | POLLNVAL);
            const bool readable = (fds[i].revents & POLLIN) || (bad && it->second.read);
            const bool writable = (fds[i].revents & POLLOUT) || (bad && it->second.write);
            auto ready = it->second.ready;
            ready(readable, writable);
        }
    }
    now = Clock::now();
    std::vector<std::uint64_t> due;
    for (const auto& [id, t] : timers_)
        if (t.due <= now) due.push_back(id);
    for (std::uint64_t id : due) {
        auto it = timers_.find(id);
        if (it == timers_.end()) continue;  // stopped by an earlier timer
        auto fire = std::move(it->second.fire);
        timers_.erase(it);
        fire();
    }
}

bool PollEventLoop::runUntil(const std::function<bool()>& done, milliseconds timeout) {
    const auto end = Clock::now() + timeout;
    while (!done()) {
        const auto left = std::chrono::ceil<milliseconds>(end - Clock::now());
        if (left <= milliseconds{0}) return done();
        runOnce(std::min(left, milliseconds{50}));
    }
    return true;
}

bool PollEventLoop::runUntilIdle(milliseconds timeout) {
    return runUntil([this] { return idle(); }, timeout);
}

}  // namespace cd::platform
