#pragma once
// Reports are answered only once the transaction that holds them has
// committed, so a killed server never loses a report it said it had. One
// thread commits whatever has queued up while the last commit ran, so many
// reports share one transaction and one wait for the disk.
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "storage/report_store.h"

namespace cd::server::intake {

class GroupCommitter {
public:
    /// Called on the committer's thread: true once committed, false when not stored.
    using Done = std::function<void(bool stored)>;

    /// store is used by the committer's thread alone.
    GroupCommitter(storage::ReportStore& store, std::size_t maxBatch = 4096, std::size_t maxQueued = 200000);
    ~GroupCommitter();
    GroupCommitter(const GroupCommitter&) = delete;
    GroupCommitter& operator=(const GroupCommitter&) = delete;

    /// Queues a report. False, without calling done, when the queue is full
    /// or the committer has stopped.
    bool submit(storage::StoredReport report, Done done);
    /// Commits what is queued, then ends the thread.
    void stop();

    std::uint64_t batchesCommitted() const;
    std::uint64_t reportsCommitted() const;

private:
    struct Item {
        storage::StoredReport report;
        Done done;
    };
    void run();

    storage::ReportStore& store_;
    const std::size_t maxBatch_;
    const std::size_t maxQueued_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Item> queue_;
    bool stopping_ = false;
    std::uint64_t batches_ = 0;
    std::uint64_t reports_ = 0;
    std::thread thread_;
};

}  // namespace cd::server::intake
