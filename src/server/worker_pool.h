#pragma once
// A few threads for the requests that wait on the store or the disk (the
// owner's page, publishing, files), so the HTTP loop never does.
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace cd::server {

class WorkerPool {
public:
    WorkerPool(std::size_t threads, std::size_t maxQueued);
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    /// Queues a task; false when the queue is full or the pool has stopped.
    bool post(std::function<void()> task);
    /// Runs what is queued, then ends the threads.
    void stop();

private:
    void run();

    const std::size_t maxQueued_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> tasks_;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace cd::server
