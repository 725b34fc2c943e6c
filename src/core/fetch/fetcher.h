#pragma once
// The fetch port: a fetch is started, returns at once, and its result
// arrives later on the event loop; cancelling is immediate. HttpClient is the
// real one; tests use a scripted double whose replies they release.
#include <coroutine>
#include <cstdint>
#include <functional>
#include <utility>

#include "fetch/fetch_types.h"

namespace cd::fetch {

using FetchId = std::uint64_t;

class Fetcher {
public:
    virtual ~Fetcher() = default;
    /// Starts a fetch. done runs later, on the loop, exactly once, unless the
    /// fetch is cancelled first; never from inside start(). Returns 0 when
    /// nothing was started (the program is ending): done then never runs.
    virtual FetchId start(FetchRequest request, std::function<void(FetchResult)> done) = 0;
    /// Ends a fetch at once; its done never runs. Unknown ids are ignored.
    virtual void cancel(FetchId id) = 0;
    /// Ends every fetch and starts none from now on: the program is ending.
    virtual void shutDown() = 0;
};

/// co_await fetchAsync(fetcher, request) inside a task: the result, once it
/// is there. Destroying the waiting task cancels the fetch.
class FetchAwaiter {
public:
    FetchAwaiter(Fetcher& fetcher, FetchRequest request) : fetcher_(&fetcher), request_(std::move(request)) {}
    FetchAwaiter(FetchAwaiter&& other) noexcept
        : fetcher_(other.fetcher_), request_(std::move(other.request_)), id_(std::exchange(other.id_, 0)) {}
    FetchAwaiter& operator=(FetchAwaiter&&) = delete;
    ~FetchAwaiter() {
        if (id_) fetcher_->cancel(id_);
    }

    bool await_ready() const noexcept { return false; }
    bool await_suspend(std::coroutine_handle<> waiting) {
        id_ = fetcher_->start(std::move(request_), [this, waiting](FetchResult result) {
            id_ = 0;
            result_ = std::move(result);
            waiting.resume();
        });
        // Nothing started (the program is ending): the task waits until its
        // owner lets it go.
        return true;
    }
    FetchResult await_resume() { return std::move(result_); }

private:
    Fetcher* fetcher_;
    FetchRequest request_;
    FetchId id_ = 0;
    FetchResult result_;
};

inline FetchAwaiter fetchAsync(Fetcher& fetcher, FetchRequest request) {
    return FetchAwaiter(fetcher, std::move(request));
}

}  // namespace cd::fetch
