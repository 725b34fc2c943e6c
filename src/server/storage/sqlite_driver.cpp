#include "storage/sqlite_driver.h"

#include <sqlite3.h>

namespace cd::server::storage {

std::unique_ptr<SqliteDriver> SqliteDriver::open(const std::filesystem::path& file, bool fullSync, std::string* error,
                                                 bool checkpointAside) {
    sqlite3* db = nullptr;
    const int rc =
        sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        if (error) *error = "cannot open " + file.string() + ": " + (db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
        sqlite3_close(db);
        return nullptr;
    }
    std::unique_ptr<SqliteDriver> driver(new SqliteDriver(db));
    sqlite3_busy_timeout(db, 10000);
    // The reports' table is written at random places; a cache of 64 MiB keeps
    // the pages a commit touches from being read back from the file.
    const std::string setup = std::string("PRAGMA cache_size=-65536; PRAGMA journal_mode=WAL; PRAGMA synchronous=") +
                              (fullSync ? "FULL" : "NORMAL") + "; PRAGMA foreign_keys=OFF;";
    if (!driver->execute(setup)) {
        if (error) *error = "cannot set up " + file.string() + ": " + driver->lastError();
        return nullptr;
    }
    if (checkpointAside) driver->checkpointer_ = std::make_unique<WalCheckpointer>(db, file);
    return driver;
}

SqliteDriver::~SqliteDriver() {
    checkpointer_.reset();
    for (auto& [sql, stmt] : statements_) sqlite3_finalize(stmt);
    sqlite3_close(db_);
}

bool SqliteDriver::execute(std::string_view sql) {
    char* message = nullptr;
    const int rc = sqlite3_exec(db_, std::string(sql).c_str(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        error_ = message ? message : sqlite3_errstr(rc);
        sqlite3_free(message);
        return false;
    }
    return true;
}

sqlite3_stmt* SqliteDriver::prepared(std::string_view sql) {
    const std::string key(sql);
    if (const auto it = statements_.find(key); it != statements_.end()) return it->second;
    // The store writes $N placeholders (PostgreSQL's form); SQLite reads ?N the same way.
    std::string text = key;
    for (char& c : text)
        if (c == '$') c = '?';
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v3(db_, text.c_str(), static_cast<int>(text.size()), SQLITE_PREPARE_PERSISTENT, &stmt,
                           nullptr) != SQLITE_OK) {
        error_ = sqlite3_errmsg(db_);
        return nullptr;
    }
    statements_.emplace(key, stmt);
    return stmt;
}

std::optional<std::vector<SqlRow>> SqliteDriver::run(std::string_view sql, const std::vector<SqlParam>& params) {
    sqlite3_stmt* stmt = prepared(sql);
    if (!stmt) return std::nullopt;
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    for (std::size_t i = 0; i < params.size(); ++i) {
        const int at = static_cast<int>(i + 1);
        int rc = SQLITE_OK;
        if (const auto* n = std::get_if<std::int64_t>(&params[i])) {
            rc = sqlite3_bind_int64(stmt, at, *n);
        } else if (const auto* t = std::get_if<Text>(&params[i])) {
            rc = sqlite3_bind_text64(stmt, at, t->value.data(), t->value.size(), SQLITE_STATIC, SQLITE_UTF8);
        } else {
            const auto& b = std::get<Bytes>(params[i]).value;
            // A zero-length blob must still be a blob, not NULL.
            rc = b.empty() ? sqlite3_bind_zeroblob(stmt, at, 0)
                           : sqlite3_bind_blob64(stmt, at, b.data(), b.size(), SQLITE_STATIC);
        }
        if (rc != SQLITE_OK) {
            error_ = sqlite3_errmsg(db_);
            return std::nullopt;
        }
    }
    std::vector<SqlRow> rows;
    for (;;) {
        const int rc = sqlite3_step(stmt);
        if (rc == SQLITE_DONE) break;
        if (rc != SQLITE_ROW) {
            error_ = sqlite3_errmsg(db_);
            sqlite3_reset(stmt);
            return std::nullopt;
        }
        SqlRow row;
        const int n = sqlite3_column_count(stmt);
        row.columns.reserve(static_cast<std::size_t>(n));
        for (int c = 0; c < n; ++c) {
            switch (sqlite3_column_type(stmt, c)) {
                case SQLITE_NULL:
                    row.columns.emplace_back(std::monostate{});
                    break;
                case SQLITE_INTEGER:
                    row.columns.emplace_back(std::int64_t{sqlite3_column_int64(stmt, c)});
                    break;
                default: {
                    const auto* p = static_cast<const char*>(sqlite3_column_blob(stmt, c));
                    const auto len = static_cast<std::size_t>(sqlite3_column_bytes(stmt, c));
                    row.columns.emplace_back(p ? std::string(p, len) : std::string());
                }
            }
        }
        rows.push_back(std::move(row));
    }
    sqlite3_reset(stmt);
    // Bound views must not outlive the call.
    sqlite3_clear_bindings(stmt);
    return rows;
}

bool SqliteDriver::begin(bool write) { return execute(write ? "BEGIN IMMEDIATE" : "BEGIN"); }

bool SqliteDriver::commit() { return execute("COMMIT"); }

void SqliteDriver::rollback() {
    if (!sqlite3_get_autocommit(db_)) execute("ROLLBACK");
}

}  // namespace cd::server::storage
