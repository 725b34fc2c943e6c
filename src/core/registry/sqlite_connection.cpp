#include "registry/sqlite_connection.h"

#include <sqlite3.h>

#include <chrono>
#include <thread>

namespace cd::registry {

namespace {

// Long enough for another process to finish any single registry change.
constexpr int kBusyTimeoutMs = 5000;

}  // namespace

SqliteStatement::SqliteStatement(sqlite3* db, std::string_view sql) {
    if (sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr) != SQLITE_OK) {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
    }
}

SqliteStatement::~SqliteStatement() { sqlite3_finalize(stmt_); }

SqliteStatement& SqliteStatement::bind(int i, std::int64_t v) {
    if (stmt_) sqlite3_bind_int64(stmt_, i, v);
    return *this;
}

SqliteStatement& SqliteStatement::bindBytes(int i, std::string_view bytes) {
    // A zero-length blob must still be a blob, not NULL: pass a non-null pointer.
    static const char kEmpty = 0;
    if (stmt_) sqlite3_bind_blob64(stmt_, i, bytes.empty() ? &kEmpty : bytes.data(), bytes.size(), SQLITE_TRANSIENT);
    return *this;
}

bool SqliteStatement::step() {
    if (!stmt_) {
        lastCode_ = SQLITE_MISUSE;
        return false;
    }
    lastCode_ = sqlite3_step(stmt_);
    return lastCode_ == SQLITE_ROW;
}

std::int64_t SqliteStatement::int64(int col) const { return sqlite3_column_int64(stmt_, col); }

std::string SqliteStatement::bytes(int col) const {
    const void* p = sqlite3_column_blob(stmt_, col);
    const int n = sqlite3_column_bytes(stmt_, col);
    if (!p || n <= 0) return {};
    return std::string(static_cast<const char*>(p), static_cast<std::size_t>(n));
}

std::unique_ptr<SqliteConnection> SqliteConnection::open(const std::filesystem::path& path, bool readOnly, bool create,
                                                         std::string* error) {
    int flags = readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    if (!readOnly && create) flags |= SQLITE_OPEN_CREATE;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK) {
        if (error) *error = path.string() + ": " + (db ? sqlite3_errmsg(db) : "cannot open");
        sqlite3_close(db);
        return nullptr;
    }
    std::unique_ptr<SqliteConnection> c(new SqliteConnection(db, readOnly));
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    sqlite3_extended_result_codes(db, 1);
    if (!readOnly) {
        // Switching to WAL needs a moment alone with the file; the busy handler
        // does not always cover it, so wait for it here the same way.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kBusyTimeoutMs);
        while (!c->exec("PRAGMA journal_mode=WAL")) {
            const int code = sqlite3_errcode(db) & 0xFF;
            const bool busy = code == SQLITE_BUSY || code == SQLITE_LOCKED;
            if (!busy || std::chrono::steady_clock::now() > deadline) {
                if (error) *error = path.string() + ": " + c->errorMessage();
                return nullptr;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        // FULL: a change reported as stored survives a power cut, not only a crash.
        if (!c->exec("PRAGMA synchronous=FULL")) {
            if (error) *error = path.string() + ": " + c->errorMessage();
            return nullptr;
        }
    }
    return c;
}

SqliteConnection::~SqliteConnection() { sqlite3_close(db_); }

bool SqliteConnection::exec(std::string_view sql) {
    const std::string text(sql);
    return sqlite3_exec(db_, text.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

std::int64_t SqliteConnection::lastInsertId() const { return sqlite3_last_insert_rowid(db_); }

std::string SqliteConnection::errorMessage() const { return sqlite3_errmsg(db_); }

SqliteTransaction::SqliteTransaction(SqliteConnection& db, bool write) : db_(db) {
    active_ = db_.exec(write ? "BEGIN IMMEDIATE" : "BEGIN");
}

SqliteTransaction::~SqliteTransaction() {
    if (active_) db_.exec("ROLLBACK");
}

bool SqliteTransaction::commit() {
    if (!active_) return false;
    if (db_.exec("COMMIT")) {
        active_ = false;
        return true;
    }
    return false;  // the destructor rolls back
}

}  // namespace cd::registry
