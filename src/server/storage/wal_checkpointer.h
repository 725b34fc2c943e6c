#pragma once
// Copies a SQLite write-ahead log back into the database file on a thread
// of its own, so the connection that commits reports never stops for it
// (a checkpoint of a thousand pages and its sync would hold a whole batch
// of answers for tens of milliseconds).
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>

struct sqlite3;

namespace cd::server::storage {

class WalCheckpointer {
public:
    /// Once the log holds this many pages after a commit, the thread is woken.
    static constexpr int kStartPages = 1000;
    /// Once it holds this many, the thread makes the writer start it afresh
    /// (holding the writer back for a moment), so it cannot grow without bound.
    /// Each restart holds a few groups of answers back by tens of
    /// milliseconds; at 10,000 reports a second a limit of 16,000 pages
    /// restarted often enough to put 1 % of the answers past 30 ms, so the
    /// log may reach about 256 MB (4 KiB pages) before it starts afresh.
    static constexpr int kLimitPages = 64000;

    /// Takes over the checkpoints of db, a connection to file: automatic
    /// ones are turned off and commits wake the thread, which checkpoints
    /// through a connection of its own without blocking writers.
    WalCheckpointer(sqlite3* db, const std::filesystem::path& file, int startPages = kStartPages,
                    int limitPages = kLimitPages);
    ~WalCheckpointer();
    WalCheckpointer(const WalCheckpointer&) = delete;
    WalCheckpointer& operator=(const WalCheckpointer&) = delete;

private:
    static int afterCommit(void* self, sqlite3*, const char*, int pages);
    void run();

    sqlite3* writer_;
    const int startPages_;
    const int limitPages_;
    sqlite3* own_ = nullptr;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool pending_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace cd::server::storage
