#pragma once
// Coroutine tasks. The program's sequences of fetches (probe then play,
// listing pages one to five, download then encryptAndSaveButton) read as straight lines that
// suspend at each fetch while the window stays live; nothing ever waits.
//
// - A Task is lazy: nothing runs until another task awaits it, or a TaskSlot
//   or TaskGroup starts it.
// - Destroying a Task cancels it: its frame, the frames of the tasks it
//   awaits and what they wait on (a fetch, a timer) go at once, so no code
//   after the suspension point ever runs.
// - A task given up while it runs (a handler it called from a nested loop,
//   such as a modal message box, started something newer) is not destroyed
//   under its own feet: it ends at its next suspension point instead.
#include <algorithm>
#include <coroutine>
#include <exception>
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

namespace cd::util {

template <typename T = void>
class Task;
class TaskGroup;

namespace task_detail {

struct PromiseBase {
    PromiseBase() = default;
    PromiseBase(const PromiseBase&) = delete;
    PromiseBase& operator=(const PromiseBase&) = delete;
    inline ~PromiseBase();

    std::coroutine_handle<> handle;        // this frame
    std::coroutine_handle<> continuation;  // the frame awaiting this one
    PromiseBase* parent = nullptr;         // the task awaiting this one
    PromiseBase* child = nullptr;          // the task this one awaits
    TaskGroup* group = nullptr;            // fire and forget: ends itself, the group only watches
    bool executing = false;                // resumed and not yet suspended again
    bool abandoned = false;                // given up while executing: ends at its next suspension
    bool detached = false;                 // no owner: destroys itself when it ends
    std::exception_ptr error;

    bool chainAbandoned() const {
        for (const PromiseBase* p = this; p; p = p->parent)
            if (p->abandoned) return true;
        return false;
    }
    bool chainExecuting() const {
        for (const PromiseBase* p = this; p; p = p->child)
            if (p->executing) return true;
        return false;
    }
    PromiseBase* root() {
        PromiseBase* p = this;
        while (p->parent) p = p->parent;
        return p;
    }
};

/// Cancels the task whose promise is p and which its owner gives up now.
inline void cancel(PromiseBase* p) {
    if (!p) return;
    if (p->chainExecuting()) {
        p->abandoned = true;
        p->detached = true;
        return;
    }
    p->handle.destroy();
}

/// Destroys the chain that has been given up, from its top; the caller is a
/// suspension point of one of its frames and must not touch that frame again.
inline void destroyAbandonedChain(PromiseBase* p) { p->root()->handle.destroy(); }

// Every co_await inside a task goes through this wrapper, which keeps the
// executing flag true between resumption and suspension and ends a chain
// that was given up while it ran.
template <typename Inner>
struct Guarded {
    PromiseBase& promise;
    Inner inner;

    bool await_ready() {
        if (promise.chainAbandoned()) return false;
        return inner.await_ready();
    }
    template <typename P>
    std::coroutine_handle<> await_suspend(std::coroutine_handle<P> h) {
        promise.executing = false;
        if (promise.chainAbandoned()) {
            destroyAbandonedChain(&promise);
            return std::noop_coroutine();
        }
        using R = decltype(inner.await_suspend(h));
        if constexpr (std::is_void_v<R>) {
            inner.await_suspend(h);
            return std::noop_coroutine();
        } else if constexpr (std::is_same_v<R, bool>) {
            if (inner.await_suspend(h)) return std::noop_coroutine();
            promise.executing = true;
            return h;
        } else {
            return inner.await_suspend(h);
        }
    }
    decltype(auto) await_resume() {
        promise.executing = true;
        return inner.await_resume();
    }
};

template <typename A>
auto awaiterOf(A&& a) {
    if constexpr (requires { std::forward<A>(a).operator co_await(); }) {
        return std::forward<A>(a).operator co_await();
    } else if constexpr (requires { operator co_await(std::forward<A>(a)); }) {
        return operator co_await(std::forward<A>(a));
    } else {
        return std::forward<A>(a);
    }
}

struct InitialAwaiter {
    PromiseBase& promise;
    bool await_ready() const noexcept { return false; }
    void await_suspend(std::coroutine_handle<>) const noexcept {}
    void await_resume() const noexcept { promise.executing = true; }
};

struct FinalAwaiter {
    PromiseBase& promise;
    bool await_ready() const noexcept { return false; }
    std::coroutine_handle<> await_suspend(std::coroutine_handle<>) noexcept {
        PromiseBase& p = promise;
        p.executing = false;
        if (p.chainAbandoned()) {
            destroyAbandonedChain(&p);
            return std::noop_coroutine();
        }
        if (p.detached) {
            p.handle.destroy();
            return std::noop_coroutine();
        }
        if (p.continuation) {
            if (p.parent) p.parent->child = nullptr;
            return p.continuation;
        }
        return std::noop_coroutine();
    }
    void await_resume() const noexcept {}
};

template <typename Derived>
struct PromiseCommon : PromiseBase {
    InitialAwaiter initial_suspend() noexcept { return {*this}; }
    FinalAwaiter final_suspend() noexcept { return {*this}; }
    void unhandled_exception() {
        // Nobody above a root task could catch it: a fault, not a result.
        if (!parent) std::terminate();
        error = std::current_exception();
    }
    template <typename A>
    auto await_transform(A&& a) {
        using Inner = decltype(awaiterOf(std::forward<A>(a)));
        return Guarded<Inner>{*this, awaiterOf(std::forward<A>(a))};
    }
};

template <typename T>
struct Promise : PromiseCommon<Promise<T>> {
    std::optional<T> value;
    Task<T> get_return_object();
    template <typename U>
    void return_value(U&& v) {
        value.emplace(std::forward<U>(v));
    }
};

template <>
struct Promise<void> : PromiseCommon<Promise<void>> {
    Task<void> get_return_object();
    void return_void() {}
};

}  // namespace task_detail

template <typename T>
class [[nodiscard]] Task {
public:
    using promise_type = task_detail::Promise<T>;
    using Handle = std::coroutine_handle<promise_type>;

    Task() = default;
    explicit Task(Handle h) : h_(h) {}
    Task(Task&& other) noexcept : h_(std::exchange(other.h_, {})) {}
    Task& operator=(Task&& other) noexcept {
        if (this != &other) {
            reset();
            h_ = std::exchange(other.h_, {});
        }
        return *this;
    }
    ~Task() { reset(); }

    /// Cancels the task unless it has ended (see the header comment).
    void reset() {
        if (!h_) return;
        task_detail::cancel(&h_.promise());
        h_ = {};
    }
    bool valid() const { return static_cast<bool>(h_); }
    bool done() const { return h_ && h_.done(); }

    /// Runs a root task up to its first suspension point.
    void start() {
        if (h_ && !h_.done()) h_.resume();
    }

    /// A root task's result once it has ended.
    T result() {
        if constexpr (!std::is_void_v<T>) return std::move(*h_.promise().value);
    }

    /// What awaiting a task does: start it, and resume the awaiting task
    /// when it ends.
    struct Awaiter {
        Handle child;
        bool await_ready() const noexcept { return !child || child.done(); }
        template <typename P>
        std::coroutine_handle<> await_suspend(std::coroutine_handle<P> awaiting) noexcept {
            auto& c = child.promise();
            auto& p = awaiting.promise();
            c.parent = &p;
            c.continuation = awaiting;
            p.child = &c;
            return child;
        }
        T await_resume() {
            auto& c = child.promise();
            if (c.error) std::rethrow_exception(c.error);
            if constexpr (!std::is_void_v<T>) return std::move(*c.value);
        }
    };
    Awaiter operator co_await() && noexcept { return Awaiter{h_}; }

private:
    friend class TaskGroup;
    Handle release() { return std::exchange(h_, {}); }
    Handle h_;
};

namespace task_detail {
template <typename T>
Task<T> Promise<T>::get_return_object() {
    auto h = std::coroutine_handle<Promise<T>>::from_promise(*this);
    this->handle = h;
    return Task<T>(h);
}
inline Task<void> Promise<void>::get_return_object() {
    auto h = std::coroutine_handle<Promise<void>>::from_promise(*this);
    this->handle = h;
    return Task<void>(h);
}
}  // namespace task_detail

/// Holds at most one running task: starting a new one cancels the old one,
/// so the newest request wins in one place.
class TaskSlot {
public:
    void start(Task<> task) {
        task_ = std::move(task);
        // Keeps a local handle: the task may replace itself while it starts.
        task_.start();
    }
    void cancel() { task_.reset(); }
    bool running() const { return task_.valid() && !task_.done(); }

private:
    Task<> task_;
};

/// Tasks nobody waits for (reports): each ends itself; the group only
/// cancels those still running when it is told to, or when it goes.
class TaskGroup {
public:
    TaskGroup() = default;
    TaskGroup(const TaskGroup&) = delete;
    TaskGroup& operator=(const TaskGroup&) = delete;
    ~TaskGroup() { cancelAll(); }

    void spawn(Task<> task) {
        auto h = task.release();
        if (!h) return;
        auto& p = h.promise();
        p.detached = true;
        p.group = this;
        running_.push_back(&p);
        h.resume();
    }
    void cancelAll() {
        // Cancelling ends frames, which leave the list themselves.
        const auto all = running_;
        for (task_detail::PromiseBase* p : all) {
            if (std::find(running_.begin(), running_.end(), p) == running_.end()) continue;
            p->group = nullptr;
            forget(p);
            task_detail::cancel(p);
        }
    }
    std::size_t size() const { return running_.size(); }

private:
    friend struct task_detail::PromiseBase;
    void forget(task_detail::PromiseBase* p) { std::erase(running_, p); }
    std::vector<task_detail::PromiseBase*> running_;
};

task_detail::PromiseBase::~PromiseBase() {
    if (group) group->forget(this);
}

}  // namespace cd::util
