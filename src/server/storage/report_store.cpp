#include "storage/report_store.h"

#include "storage/schema.h"

namespace cd::server::storage {

namespace {

// Rows go in several to a statement. A short batch is padded with copies of
// its last row, which the conflict clause skips, so a few prepared
// statements serve every batch size in few round trips.
constexpr std::size_t kRowsPerStatement[] = {256, 64, 16, 4, 1};

constexpr const char* kCurrentVersion = "(SELECT version FROM catalogue WHERE slot = 1)";

std::string currentVersionQuery(std::string_view text) {
    std::string out(text);
    for (std::size_t at = out.find("{current}"); at != std::string::npos; at = out.find("{current}"))
        out.replace(at, 9, kCurrentVersion);
    return out;
}

// The catalogue's channels drive the join (CROSS JOIN keeps SQLite to that
// order), so each looks its reports up by the key's type, item and day
// range: the cost follows the window, not the whole history.
const std::string& offlineSql() {
    static const std::string sql = currentVersionQuery(
        "SELECT c.name, c.address, c.category, x.reporters, 0"
        " FROM (SELECT a.first AS first, COUNT(DISTINCT r.client) AS reporters"
        "  FROM (SELECT address, MIN(position) AS first FROM channels"
        "   WHERE version = {current} GROUP BY address) a"
        "  CROSS JOIN reports r"
        "  WHERE r.type = 'OFFLINE' AND r.item = a.address AND r.day >= $1 AND r.at >= $2"
        "  GROUP BY a.first) x"
        " JOIN channels c ON c.version = {current} AND c.position = x.first"
        " ORDER BY x.reporters DESC, x.first ASC LIMIT $3");
    return sql;
}

const std::string& favouriteSql() {
    static const std::string sql = currentVersionQuery(
        "SELECT c.name, c.address, c.category, x.reporters, 0"
        " FROM (SELECT n.first AS first, COUNT(DISTINCT r.client) AS reporters"
        "  FROM (SELECT name, MIN(position) AS first FROM channels"
        "   WHERE version = {current} GROUP BY name) n"
        "  CROSS JOIN reports r"
        "  WHERE r.type = 'FAVORITE' AND r.item = n.name"
        "  GROUP BY n.first) x"
        " JOIN channels c ON c.version = {current} AND c.position = x.first"
        " ORDER BY x.reporters DESC, x.first ASC LIMIT $1");
    return sql;
}

// A client's rating of a channel is its latest one; the ranking is by the
// average over clients. Ratings are gathered per item first and only then
// matched with the catalogue: matching each channel against every rating
// took seconds at a few hundred thousand reports.
const std::string& ratingSql() {
    static const std::string sql = currentVersionQuery(
        "SELECT c.name, c.address, c.category, x.raters, x.stars"
        " FROM (SELECT n.first AS first, g.raters AS raters, g.stars AS stars"
        "  FROM (SELECT name, MIN(position) AS first FROM channels"
        "   WHERE version = {current} GROUP BY name) n"
        "  JOIN (SELECT l.item AS item, COUNT(*) AS raters, CAST(SUM(l.stars) AS BIGINT) AS stars"
        "   FROM (SELECT r.item AS item, CAST(r.value AS INTEGER) AS stars,"
        "     ROW_NUMBER() OVER (PARTITION BY r.item, r.client ORDER BY r.day DESC) AS k"
        "    FROM reports r WHERE r.type = 'Rate') l"
        "   WHERE l.k = 1 GROUP BY l.item) g ON g.item = n.name) x"
        " JOIN channels c ON c.version = {current} AND c.position = x.first"
        " ORDER BY CAST(x.stars AS DOUBLE PRECISION) / x.raters DESC, x.raters DESC, x.first ASC LIMIT $1");
    return sql;
}

std::string insertSql(std::string_view table, std::string_view columns, std::size_t width, std::size_t rows,
                      std::string_view conflict) {
    std::string sql = "INSERT INTO " + std::string(table) + " (" + std::string(columns) + ") VALUES ";
    std::size_t n = 1;
    for (std::size_t r = 0; r < rows; ++r) {
        sql += r ? ", (" : "(";
        for (std::size_t c = 0; c < width; ++c) {
            if (c) sql += ", ";
            sql += "$" + std::to_string(n++);
        }
        sql += ")";
    }
    return sql + " " + std::string(conflict);
}

}  // namespace

ReportStore::ReportStore(std::unique_ptr<SqlDriver> driver) : driver_(std::move(driver)) {}

std::string ReportStore::lastError() const {
    std::lock_guard lock(mutex_);
    return error_;
}

bool ReportStore::prepareSchema() {
    std::lock_guard lock(mutex_);
    if (!driver_->begin(true)) {
        error_ = driver_->lastError();
        return false;
    }
    bool ok = driver_->schemaLock().empty() || driver_->execute(driver_->schemaLock());
    for (const auto& statement : schemaStatements(*driver_)) ok = ok && driver_->execute(statement);
    ok = ok && driver_->commit();
    if (!ok) {
        error_ = driver_->lastError();
        driver_->rollback();
    }
    return ok;
}

bool ReportStore::insertRows(std::string_view table, std::string_view columns, std::size_t width, std::size_t count,
                             const std::function<void(std::size_t, std::vector<SqlParam>&)>& row) {
    std::size_t done = 0;
    std::vector<SqlParam> params;
    while (done < count) {
        const std::size_t left = count - done;
        std::size_t size = kRowsPerStatement[0];
        for (const std::size_t s : kRowsPerStatement)
            if (s >= left) size = s;
        const std::size_t real = std::min(size, left);
        params.clear();
        params.reserve(size * width);
        for (std::size_t i = 0; i < size; ++i) row(done + std::min(i, real - 1), params);
        const std::string key = insertSql(table, columns, width, size, "ON CONFLICT DO NOTHING");
        if (!driver_->run(key, params)) return false;
        done += real;
    }
    return true;
}

bool ReportStore::recordReports(const std::vector<StoredReport>& batch) {
    std::lock_guard lock(mutex_);
    if (batch.empty()) return true;
    if (!driver_->begin(true)) {
        error_ = driver_->lastError();
        return false;
    }
    const bool ok = insertRows("reports", "type, item, day, client, value, at", 6, batch.size(),
                               [&](std::size_t i, std::vector<SqlParam>& p) {
                                   const StoredReport& r = batch[i];
                                   p.emplace_back(Text{r.type});
                                   p.emplace_back(Bytes{r.item});
                                   p.emplace_back(r.day);
                                   p.emplace_back(Text{r.client});
                                   p.emplace_back(Text{r.value});
                                   p.emplace_back(r.at);
                               }) &&
                    driver_->commit();
    if (!ok) {
        error_ = driver_->lastError();
        driver_->rollback();
    }
    return ok;
}

std::optional<std::int64_t> ReportStore::publishCatalogue(const std::string& body, const std::string& etag,
                                                          std::int64_t publishedAt,
                                                          const std::vector<CatalogueRecord>& records) {
    std::lock_guard lock(mutex_);
    if (!driver_->begin(true)) {
        error_ = driver_->lastError();
        return std::nullopt;
    }
    // The row lock of the upsert orders concurrent publishes: each gets its
    // own version and the last one's channels are the ones that remain.
    const auto version = driver_->run(
        "INSERT INTO catalogue (slot, version, published_at, etag, records, body) VALUES (1, 1, $1, $2, $3, $4)"
        " ON CONFLICT (slot) DO UPDATE SET version = catalogue.version + 1,"
        " published_at = excluded.published_at, etag = excluded.etag, records = excluded.records,"
        " body = excluded.body RETURNING version",
        {publishedAt, Text{etag}, static_cast<std::int64_t>(records.size()), Bytes{body}});
    bool ok = version && !version->empty();
    const std::int64_t v = ok ? version->front().integer(0) : 0;
    ok = ok && insertRows("channels", "version, position, name, address, category, languages", 6, records.size(),
                          [&](std::size_t i, std::vector<SqlParam>& p) {
                              const CatalogueRecord& r = records[i];
                              p.emplace_back(v);
                              p.emplace_back(static_cast<std::int64_t>(i));
                              p.emplace_back(Bytes{r.name});
                              p.emplace_back(Bytes{r.address});
                              p.emplace_back(Bytes{r.category});
                              p.emplace_back(Bytes{r.languages});
                          });
    ok = ok && driver_->run("DELETE FROM channels WHERE version < $1", {v}) && driver_->commit();
    if (!ok) {
        error_ = driver_->lastError();
        driver_->rollback();
        return std::nullopt;
    }
    return v;
}

std::optional<std::int64_t> ReportStore::catalogueVersion() {
    std::lock_guard lock(mutex_);
    const auto rows = driver_->run("SELECT version FROM catalogue WHERE slot = 1", {});
    if (!rows) {
        error_ = driver_->lastError();
        return std::nullopt;
    }
    return rows->empty() ? 0 : rows->front().integer(0);
}

std::optional<CatalogueSnapshot> ReportStore::loadCatalogue(bool withBody) {
    std::lock_guard lock(mutex_);
    const auto rows = driver_->run(withBody ? "SELECT version, published_at, etag, records, body FROM catalogue"
                                              " WHERE slot = 1"
                                            : "SELECT version, published_at, etag, records FROM catalogue"
                                              " WHERE slot = 1",
                                   {});
    if (!rows) {
        error_ = driver_->lastError();
        return std::nullopt;
    }
    CatalogueSnapshot snapshot;
    if (rows->empty()) return snapshot;
    const SqlRow& row = rows->front();
    snapshot.version = row.integer(0);
    snapshot.publishedAt = row.integer(1);
    snapshot.etag = row.string(2);
    snapshot.records = row.integer(3);
    if (withBody) snapshot.body = std::make_shared<const std::string>(row.string(4));
    return snapshot;
}

std::optional<std::vector<RankedChannel>> ReportStore::ranking(std::string_view sql,
                                                               const std::vector<SqlParam>& params) {
    std::lock_guard lock(mutex_);
    const auto rows = driver_->run(sql, params);
    if (!rows) {
        error_ = driver_->lastError();
        return std::nullopt;
    }
    std::vector<RankedChannel> out;
    out.reserve(rows->size());
    for (const auto& row : *rows)
        out.push_back({row.string(0), row.string(1), row.string(2), row.integer(3), row.integer(4)});
    return out;
}

std::optional<std::vector<RankedChannel>> ReportStore::offlineRanking(std::int64_t sinceSeconds, std::size_t limit) {
    const std::int64_t sinceDay = sinceSeconds >= 0 ? sinceSeconds / 86400 : (sinceSeconds - 86399) / 86400;
    return ranking(offlineSql(), {sinceDay, sinceSeconds, static_cast<std::int64_t>(limit)});
}

std::optional<std::vector<RankedChannel>> ReportStore::favouriteRanking(std::size_t limit) {
    return ranking(favouriteSql(), {static_cast<std::int64_t>(limit)});
}

std::optional<std::vector<RankedChannel>> ReportStore::ratingRanking(std::size_t limit) {
    return ranking(ratingSql(), {static_cast<std::int64_t>(limit)});
}

std::optional<ReportTotals> ReportStore::totals() {
    std::lock_guard lock(mutex_);
    const auto rows = driver_->run("SELECT type, COUNT(*) FROM reports GROUP BY type", {});
    if (!rows) {
        error_ = driver_->lastError();
        return std::nullopt;
    }
    ReportTotals t;
    for (const auto& row : *rows) {
        const std::string type = row.string(0);
        if (type == "OFFLINE") t.offline = row.integer(1);
        if (type == "FAVORITE") t.favorite = row.integer(1);
        if (type == "Rate") t.rate = row.integer(1);
    }
    return t;
}

std::optional<std::string> ReportStore::setting(std::string_view name) {
    std::lock_guard lock(mutex_);
    const auto rows = driver_->run("SELECT value FROM settings WHERE name = $1", {Text{name}});
    if (!rows) {
        error_ = driver_->lastError();
        return std::nullopt;
    }
    return rows->empty() ? std::string() : rows->front().string(0);
}

std::optional<std::string> ReportStore::putSetting(std::string_view name, std::string_view value, bool replace) {
    std::lock_guard lock(mutex_);
    const auto rows =
        driver_->run(replace ? "INSERT INTO settings (name, value) VALUES ($1, $2)"
                               " ON CONFLICT (name) DO UPDATE SET value = excluded.value"
                             : "INSERT INTO settings (name, value) VALUES ($1, $2) ON CONFLICT (name) DO NOTHING",
                     {Text{name}, Text{value}});
    const auto now = rows ? driver_->run("SELECT value FROM settings WHERE name = $1", {Text{name}}) : std::nullopt;
    if (!now || now->empty()) {
        error_ = driver_->lastError();
        return std::nullopt;
    }
    return now->front().string(0);
}

}  // namespace cd::server::storage
