#include "storage/postgres_driver.h"

#include <libpq-fe.h>

#include <cstring>

namespace cd::server::storage {

namespace {

// Type identifiers of the result columns the store reads.
constexpr Oid kBool = 16, kInt8 = 20, kInt2 = 21, kInt4 = 23;

std::int64_t bigEndian(const char* p, int len) {
    std::int64_t v = (len > 0 && (static_cast<unsigned char>(p[0]) & 0x80)) ? -1 : 0;
    for (int i = 0; i < len; ++i)
        v = static_cast<std::int64_t>((static_cast<std::uint64_t>(v) << 8) | static_cast<unsigned char>(p[i]));
    return v;
}

std::string messageOf(PGconn* conn, PGresult* res) {
    std::string m = res ? PQresultErrorMessage(res) : PQerrorMessage(conn);
    while (!m.empty() && (m.back() == '\n' || m.back() == ' ')) m.pop_back();
    return m.empty() ? "unknown PostgreSQL error" : m;
}

}  // namespace

std::unique_ptr<PostgresDriver> PostgresDriver::open(const std::string& url, std::string* error) {
    PGconn* conn = PQconnectdb(url.c_str());
    if (!conn || PQstatus(conn) != CONNECTION_OK) {
        if (error) *error = "cannot connect to PostgreSQL: " + messageOf(conn, nullptr);
        PQfinish(conn);
        return nullptr;
    }
    std::unique_ptr<PostgresDriver> driver(new PostgresDriver(conn));
    // Quiet notices ("relation already exists") would go to stderr otherwise.
    PQsetNoticeProcessor(
        conn, [](void*, const char*) {}, nullptr);
    if (!driver->execute("SET client_min_messages = warning")) {
        if (error) *error = driver->lastError();
        return nullptr;
    }
    return driver;
}

PostgresDriver::~PostgresDriver() { PQfinish(conn_); }

bool PostgresDriver::usable() {
    if (PQstatus(conn_) == CONNECTION_OK) return true;
    if (inTransaction_) return false;
    PQreset(conn_);
    statements_.clear();
    if (PQstatus(conn_) != CONNECTION_OK) {
        error_ = "lost the PostgreSQL connection: " + messageOf(conn_, nullptr);
        return false;
    }
    PQsetNoticeProcessor(
        conn_, [](void*, const char*) {}, nullptr);
    return true;
}

bool PostgresDriver::execute(std::string_view sql) {
    if (!usable()) return false;
    PGresult* res = PQexec(conn_, std::string(sql).c_str());
    const auto status = PQresultStatus(res);
    const bool ok = status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
    if (!ok) error_ = messageOf(conn_, res);
    PQclear(res);
    return ok;
}

const std::string* PostgresDriver::prepared(std::string_view sql) {
    const std::string key(sql);
    if (const auto it = statements_.find(key); it != statements_.end()) return &it->second;
    std::string name = "cd" + std::to_string(statements_.size() + 1);
    PGresult* res = PQprepare(conn_, name.c_str(), key.c_str(), 0, nullptr);
    const bool ok = PQresultStatus(res) == PGRES_COMMAND_OK;
    if (!ok) error_ = messageOf(conn_, res);
    PQclear(res);
    if (!ok) return nullptr;
    return &statements_.emplace(key, std::move(name)).first->second;
}

std::optional<std::vector<SqlRow>> PostgresDriver::run(std::string_view sql, const std::vector<SqlParam>& params) {
    if (!usable()) return std::nullopt;
    const std::string* name = prepared(sql);
    if (!name) return std::nullopt;
    // Integers and text go as text (libpq wants them NUL-terminated, so they
    // are copied); bytes go in binary, so every byte arrives as it is.
    std::vector<std::string> texts(params.size());
    std::vector<const char*> values(params.size());
    std::vector<int> lengths(params.size()), formats(params.size());
    for (std::size_t i = 0; i < params.size(); ++i) {
        if (const auto* n = std::get_if<std::int64_t>(&params[i])) {
            texts[i] = std::to_string(*n);
        } else if (const auto* t = std::get_if<Text>(&params[i])) {
            texts[i].assign(t->value);
        } else {
            const auto& b = std::get<Bytes>(params[i]).value;
            values[i] = b.data() ? b.data() : "";
            lengths[i] = static_cast<int>(b.size());
            formats[i] = 1;
            continue;
        }
        values[i] = texts[i].c_str();
    }
    PGresult* res = PQexecPrepared(conn_, name->c_str(), static_cast<int>(params.size()), values.data(), lengths.data(),
                                   formats.data(), 1);
    const auto status = PQresultStatus(res);
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) {
        error_ = messageOf(conn_, res);
        PQclear(res);
        return std::nullopt;
    }
    std::vector<SqlRow> rows;
    const int n = PQntuples(res), cols = PQnfields(res);
    rows.reserve(static_cast<std::size_t>(n));
    for (int r = 0; r < n; ++r) {
        SqlRow row;
        row.columns.reserve(static_cast<std::size_t>(cols));
        for (int c = 0; c < cols; ++c) {
            if (PQgetisnull(res, r, c)) {
                row.columns.emplace_back(std::monostate{});
                continue;
            }
            const char* p = PQgetvalue(res, r, c);
            const int len = PQgetlength(res, r, c);
            const Oid type = PQftype(res, c);
            if (type == kInt8 || type == kInt4 || type == kInt2 || type == kBool)
                row.columns.emplace_back(bigEndian(p, len));
            else
                row.columns.emplace_back(std::string(p, static_cast<std::size_t>(len)));
        }
        rows.push_back(std::move(row));
    }
    PQclear(res);
    return rows;
}

bool PostgresDriver::begin(bool write) {
    (void)write;  // row locks and the advisory lock order PostgreSQL's writers
    if (!execute("BEGIN")) return false;
    inTransaction_ = true;
    return true;
}

bool PostgresDriver::commit() {
    inTransaction_ = false;
    PGresult* res = PQexec(conn_, "COMMIT");
    // COMMIT of a transaction that failed earlier succeeds as a ROLLBACK.
    const bool ok = PQresultStatus(res) == PGRES_COMMAND_OK && std::strcmp(PQcmdStatus(res), "COMMIT") == 0;
    if (!ok)
        error_ = PQresultStatus(res) == PGRES_COMMAND_OK ? "the transaction was rolled back" : messageOf(conn_, res);
    PQclear(res);
    return ok;
}

void PostgresDriver::rollback() {
    if (!inTransaction_) return;
    inTransaction_ = false;
    if (PQstatus(conn_) == CONNECTION_OK) PQclear(PQexec(conn_, "ROLLBACK"));
}

}  // namespace cd::server::storage
