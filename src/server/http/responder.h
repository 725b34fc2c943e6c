#pragma once
// How a handler answers a request, now or later and from any thread: the
// answer is queued for the server's loop, which writes it. A request whose
// every Responder copy is dropped unanswered gets a 500, so a forgotten
// answer never leaves a client waiting.
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "http/response.h"

namespace cd::server::http {

/// The answers waiting for the loop. Posting from the loop's own thread
/// queues without waking it; from any other thread it wakes the loop.
class CompletionQueue {
public:
    /// Owns the event counter that wakes the loop; it outlives the loop as
    /// long as a Responder may still post.
    CompletionQueue();
    ~CompletionQueue();
    CompletionQueue(const CompletionQueue&) = delete;
    CompletionQueue& operator=(const CompletionQueue&) = delete;
    /// The descriptor the loop watches (readable when woken); -1 when none could be made.
    int wakeFd() const { return wakeFd_; }
    void setLoopThread(std::thread::id id) { loopThread_ = id; }
    void post(std::uint64_t connection, Response response);
    /// Everything posted so far, oldest first.
    std::vector<std::pair<std::uint64_t, Response>> take();

private:
    std::mutex mutex_;
    std::vector<std::pair<std::uint64_t, Response>> items_;
    int wakeFd_;
    std::atomic<std::thread::id> loopThread_{};
};

class Responder {
public:
    Responder(std::shared_ptr<CompletionQueue> queue, std::uint64_t connection);
    /// Answers the request; later calls are ignored.
    void operator()(Response response) const;

private:
    struct State {
        std::shared_ptr<CompletionQueue> queue;
        std::uint64_t connection;
        std::mutex mutex;
        bool answered = false;
        ~State();
    };
    std::shared_ptr<State> state_;
};

}  // namespace cd::server::http
