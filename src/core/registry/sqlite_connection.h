#pragma once
// A thin owner of one SQLite database handle and its prepared statements.
// Only the registry store uses it; sqlite3.h stays out of every public header.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace cd::registry {

/// One prepared statement; finalized when it goes out of scope.
class SqliteStatement {
public:
    SqliteStatement(sqlite3* db, std::string_view sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    /// False when the text did not compile.
    bool ok() const { return stmt_ != nullptr; }
    /// Parameters count from 1.
    SqliteStatement& bind(int i, std::int64_t v);
    /// Binds bytes as a blob, so names and data keep every byte, nulls included.
    SqliteStatement& bindBytes(int i, std::string_view bytes);
    /// True when a row is ready; false when done or failed (see done()).
    bool step();
    /// True when the last step finished the statement without an error.
    bool done() const { return lastCode_ == kDone; }
    std::int64_t int64(int col) const;
    std::string bytes(int col) const;

private:
    static constexpr int kDone = 101;  // SQLITE_DONE
    sqlite3_stmt* stmt_ = nullptr;
    int lastCode_ = 0;
};

class SqliteConnection {
public:
    /// Opens path. readOnly opens without write access; create makes the file
    /// when it is missing. Null when the database cannot be opened or set up;
    /// error says why.
    static std::unique_ptr<SqliteConnection> open(const std::filesystem::path& path, bool readOnly, bool create,
                                                  std::string* error);
    ~SqliteConnection();
    SqliteConnection(const SqliteConnection&) = delete;
    SqliteConnection& operator=(const SqliteConnection&) = delete;

    sqlite3* handle() const { return db_; }
    bool readOnly() const { return readOnly_; }
    /// Runs statements without results; false on error.
    bool exec(std::string_view sql);
    std::int64_t lastInsertId() const;
    std::string errorMessage() const;

private:
    SqliteConnection(sqlite3* db, bool readOnly) : db_(db), readOnly_(readOnly) {}
    sqlite3* db_;
    bool readOnly_;
};

/// A transaction that rolls back unless committed. Writers take the write
/// lock at BEGIN (IMMEDIATE), so two processes never both read a key and
/// then race to change it.
class SqliteTransaction {
public:
    SqliteTransaction(SqliteConnection& db, bool write);
    ~SqliteTransaction();
    SqliteTransaction(const SqliteTransaction&) = delete;
    SqliteTransaction& operator=(const SqliteTransaction&) = delete;

    bool active() const { return active_; }
    /// True when the changes are durable.
    bool commit();

private:
    SqliteConnection& db_;
    bool active_ = false;
};

}  // namespace cd::registry
