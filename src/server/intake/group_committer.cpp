#include "intake/group_committer.h"

#include <pthread.h>

#include <vector>

namespace cd::server::intake {

GroupCommitter::GroupCommitter(storage::ReportStore& store, std::size_t maxBatch, std::size_t maxQueued)
    : store_(store), maxBatch_(maxBatch), maxQueued_(maxQueued), thread_([this] { run(); }) {}

GroupCommitter::~GroupCommitter() { stop(); }

bool GroupCommitter::submit(storage::StoredReport report, Done done) {
    {
        std::lock_guard lock(mutex_);
        if (stopping_ || queue_.size() >= maxQueued_) return false;
        queue_.push_back({std::move(report), std::move(done)});
    }
    wake_.notify_one();
    return true;
}

void GroupCommitter::stop() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    if (thread_.joinable()) thread_.join();
}

std::uint64_t GroupCommitter::batchesCommitted() const {
    std::lock_guard lock(mutex_);
    return batches_;
}

std::uint64_t GroupCommitter::reportsCommitted() const {
    std::lock_guard lock(mutex_);
    return reports_;
}

void GroupCommitter::run() {
    pthread_setname_np(pthread_self(), "cd-commit");
    std::vector<Item> batch;
    std::vector<storage::StoredReport> rows;
    for (;;) {
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            if (queue_.empty()) return;  // stopping, and everything queued is answered
            while (!queue_.empty() && batch.size() < maxBatch_) {
                batch.push_back(std::move(queue_.front()));
                queue_.pop_front();
            }
        }
        rows.clear();
        for (auto& item : batch) rows.push_back(std::move(item.report));
        // A failed batch is tried once more: a dropped database connection is
        // made again on the next call.
        const bool stored = store_.recordReports(rows) || store_.recordReports(rows);
        if (stored) {
            std::lock_guard lock(mutex_);
            ++batches_;
            reports_ += batch.size();
        }
        for (auto& item : batch) item.done(stored);
        batch.clear();
    }
}

}  // namespace cd::server::intake
