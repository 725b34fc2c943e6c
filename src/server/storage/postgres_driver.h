#pragma once
// The PostgreSQL engine over libpq: one connection, statements prepared by
// name on first use and again after a reconnect. Several server processes
// share one database; the tables are created under an advisory lock.
#include <memory>
#include <string>
#include <unordered_map>

#include "storage/sql_driver.h"

typedef struct pg_conn PGconn;

namespace cd::server::storage {

class PostgresDriver final : public SqlDriver {
public:
    /// Connects to url ("postgresql://..." or a libpq key=value string).
    /// Null with error when it cannot.
    static std::unique_ptr<PostgresDriver> open(const std::string& url, std::string* error);
    ~PostgresDriver() override;

    std::string_view engine() const override { return "postgresql"; }
    std::optional<std::vector<SqlRow>> run(std::string_view sql, const std::vector<SqlParam>& params) override;
    bool execute(std::string_view sql) override;
    bool begin(bool write) override;
    bool commit() override;
    void rollback() override;
    std::string_view bytesType() const override { return "BYTEA"; }
    std::string_view integerType() const override { return "BIGINT"; }
    std::string_view keyedTableClause() const override { return ""; }
    std::string_view schemaLock() const override { return "SELECT pg_advisory_xact_lock(4711020617)"; }
    std::string lastError() const override { return error_; }

private:
    explicit PostgresDriver(PGconn* conn) : conn_(conn) {}
    /// The name of sql's prepared statement, preparing it when needed.
    const std::string* prepared(std::string_view sql);
    /// Reconnects a broken connection outside a transaction.
    bool usable();

    PGconn* conn_;
    std::unordered_map<std::string, std::string> statements_;
    bool inTransaction_ = false;
    std::string error_;
};

}  // namespace cd::server::storage
