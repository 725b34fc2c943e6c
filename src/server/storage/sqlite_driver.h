#pragma once
// The SQLite engine: one connection to a database file in WAL mode, so the
// report writer and the readers (owner page, catalogue) do not block each
// other, with a busy timeout for a second process on the same file.
#include <filesystem>
#include <memory>
#include <string>
#include <unordered_map>

#include "storage/sql_driver.h"
#include "storage/wal_checkpointer.h"

struct sqlite3;
struct sqlite3_stmt;

namespace cd::server::storage {

class SqliteDriver final : public SqlDriver {
public:
    /// Opens (creating) file. fullSync makes every commit wait for the disk
    /// (synchronous=FULL); otherwise a commit survives a killed process but
    /// not a power cut (synchronous=NORMAL). checkpointAside moves the log's
    /// checkpoints to a thread of their own (for the connection that commits
    /// reports). Null with error when it cannot.
    static std::unique_ptr<SqliteDriver> open(const std::filesystem::path& file, bool fullSync, std::string* error,
                                              bool checkpointAside = false);
    ~SqliteDriver() override;

    std::string_view engine() const override { return "sqlite"; }
    std::optional<std::vector<SqlRow>> run(std::string_view sql, const std::vector<SqlParam>& params) override;
    bool execute(std::string_view sql) override;
    bool begin(bool write) override;
    bool commit() override;
    void rollback() override;
    std::string_view bytesType() const override { return "BLOB"; }
    std::string_view integerType() const override { return "INTEGER"; }
    std::string_view keyedTableClause() const override { return " WITHOUT ROWID"; }
    std::string_view schemaLock() const override { return ""; }
    std::string lastError() const override { return error_; }

private:
    explicit SqliteDriver(sqlite3* db) : db_(db) {}
    sqlite3_stmt* prepared(std::string_view sql);

    sqlite3* db_;
    std::unique_ptr<WalCheckpointer> checkpointer_;
    std::unordered_map<std::string, sqlite3_stmt*> statements_;
    std::string error_;
};

}  // namespace cd::server::storage
