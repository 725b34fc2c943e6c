#pragma once
// What the report store needs of a database engine: run one statement
// text, prepared once and then reused, with bound parameters; and the
// transaction and schema statements of that engine. Every value from a
// request reaches the database as a bound parameter, never as SQL text.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace cd::server::storage {

/// Text (names of types and clients) and bytes (items, catalogue fields)
/// are bound differently: bytes keep every byte, whatever the encoding.
struct Text {
    std::string_view value;
};
struct Bytes {
    std::string_view value;
};
using SqlParam = std::variant<std::int64_t, Text, Bytes>;

/// One value of a result row: null, an integer, or text/bytes.
using SqlValue = std::variant<std::monostate, std::int64_t, std::string>;

struct SqlRow {
    std::vector<SqlValue> columns;
    std::int64_t integer(std::size_t i) const;
    std::string string(std::size_t i) const;
};

class SqlDriver {
public:
    virtual ~SqlDriver() = default;
    /// "sqlite" or "postgresql".
    virtual std::string_view engine() const = 0;
    /// Runs a statement written with $1, $2 ... placeholders, preparing it
    /// on first use; the rows it gives, or nothing on error (see lastError).
    virtual std::optional<std::vector<SqlRow>> run(std::string_view sql, const std::vector<SqlParam>& params) = 0;
    /// Runs fixed statement text that takes no parameters (schema, transactions).
    virtual bool execute(std::string_view sql) = 0;
    /// Starts a transaction; a writing one takes the write lock at once.
    virtual bool begin(bool write) = 0;
    virtual bool commit() = 0;
    virtual void rollback() = 0;
    /// The column type for bytes ("BLOB", "BYTEA") and 64-bit integers.
    virtual std::string_view bytesType() const = 0;
    virtual std::string_view integerType() const = 0;
    /// A clause after CREATE TABLE (...) for tables looked up by their key
    /// alone, or "".
    virtual std::string_view keyedTableClause() const = 0;
    /// Statement text run first in the schema transaction so that processes
    /// starting together do not race to create the tables, or "".
    virtual std::string_view schemaLock() const = 0;
    virtual std::string lastError() const = 0;
};

}  // namespace cd::server::storage
