#include "storage/wal_checkpointer.h"

#include <pthread.h>
#include <sqlite3.h>

namespace cd::server::storage {

WalCheckpointer::WalCheckpointer(sqlite3* db, const std::filesystem::path& file, int startPages, int limitPages)
    : writer_(db), startPages_(startPages), limitPages_(limitPages) {
    if (sqlite3_open_v2(file.c_str(), &own_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
        // Without a connection of its own, the writer keeps checkpointing itself.
        sqlite3_close(own_);
        own_ = nullptr;
        return;
    }
    sqlite3_busy_timeout(own_, 10000);
    // A new connection finds the log only once it looks at the database.
    sqlite3_exec(own_, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
    sqlite3_wal_hook(writer_, &WalCheckpointer::afterCommit, this);
    thread_ = std::thread([this] { run(); });
}

WalCheckpointer::~WalCheckpointer() {
    if (!own_) return;
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    thread_.join();
    sqlite3_wal_hook(writer_, nullptr, nullptr);
    sqlite3_close(own_);
}

int WalCheckpointer::afterCommit(void* self, sqlite3*, const char*, int pages) {
    auto* c = static_cast<WalCheckpointer*>(self);
    if (pages >= c->startPages_) {
        {
            std::lock_guard lock(c->mutex_);
            c->pending_ = true;
        }
        c->wake_.notify_one();
    }
    return SQLITE_OK;
}

void WalCheckpointer::run() {
    pthread_setname_np(pthread_self(), "cd-checkpoint");
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return pending_ || stopping_; });
        if (stopping_) return;
        pending_ = false;
        lock.unlock();
        // PASSIVE copies what no reader still needs and never blocks the
        // writer. The log starts afresh only when a commit finds all of it
        // copied, which a busy writer rarely lets happen; so once it is long,
        // RESTART holds the writer back for the few pages copied since, and
        // the next commit starts the log from its beginning.
        int logPages = 0;
        sqlite3_wal_checkpoint_v2(own_, nullptr, SQLITE_CHECKPOINT_PASSIVE, &logPages, nullptr);
        if (logPages >= limitPages_)
            sqlite3_wal_checkpoint_v2(own_, nullptr, SQLITE_CHECKPOINT_RESTART, nullptr, nullptr);
        lock.lock();
    }
}

}  // namespace cd::server::storage
