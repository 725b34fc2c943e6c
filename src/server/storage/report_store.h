#pragma once
// Everything the server keeps: the reports, the published catalogue with
// its channels, and the owner's settings. One set of tables and statements
// for both engines (SqlDriver), so SQLite and PostgreSQL keep the same data
// and answer the same questions. Safe to call from several threads; each
// call runs alone on this store's one connection.
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/channel.h"
#include "storage/sql_driver.h"

namespace cd::server::storage {

/// A report as kept: one row per client address, type, item and UTC day.
struct StoredReport {
    std::string type;
    std::string value;
    std::string item;  // bytes as the program sent them
    std::string client;
    std::int64_t day = 0;  // days since 1970-01-01 (UTC)
    std::int64_t at = 0;   // seconds since 1970: the first report of that day
};

/// A channel of the published catalogue, as the file formats read it.
using CatalogueRecord = formats::Channel;

struct CatalogueSnapshot {
    std::int64_t version = 0;  // 0: nothing published yet
    std::int64_t publishedAt = 0;
    std::string etag;
    std::int64_t records = 0;
    std::shared_ptr<const std::string> body;
};

/// One row of a ranking: the channel as the published catalogue names it.
struct RankedChannel {
    std::string name, address, category;
    /// Distinct client addresses (reporters, favouriters or raters).
    std::int64_t reporters = 0;
    /// Ratings only: the sum of each rater's latest stars.
    std::int64_t stars = 0;
};

struct ReportTotals {
    std::int64_t offline = 0, favorite = 0, rate = 0;
    std::int64_t all() const { return offline + favorite + rate; }
};

class ReportStore {
public:
    explicit ReportStore(std::unique_ptr<SqlDriver> driver);

    std::string_view engine() const { return driver_->engine(); }
    std::string lastError() const;

    /// Creates the tables and indexes that are missing.
    bool prepareSchema();

    /// Stores a batch in one transaction; a report already kept for its
    /// client, type, item and day stays as it was. True once committed;
    /// false (nothing stored) on any error.
    bool recordReports(const std::vector<StoredReport>& batch);

    /// Replaces the published catalogue and its channels in one transaction.
    /// The new version number, or nothing on error.
    std::optional<std::int64_t> publishCatalogue(const std::string& body, const std::string& etag,
                                                 std::int64_t publishedAt, const std::vector<CatalogueRecord>& records);
    /// The published version (0: none), cheap enough to ask every second.
    std::optional<std::int64_t> catalogueVersion();
    /// The published catalogue; without withBody, everything but its bytes.
    std::optional<CatalogueSnapshot> loadCatalogue(bool withBody = true);

    /// The catalogue's channels by distinct OFFLINE reporters of their
    /// address since the given moment, most first.
    std::optional<std::vector<RankedChannel>> offlineRanking(std::int64_t sinceSeconds, std::size_t limit);
    /// The catalogue's channels by distinct clients that made them a favourite.
    std::optional<std::vector<RankedChannel>> favouriteRanking(std::size_t limit);
    /// The catalogue's channels by the average of each rater's latest rating.
    std::optional<std::vector<RankedChannel>> ratingRanking(std::size_t limit);
    std::optional<ReportTotals> totals();

    /// A setting's value ("" when it is not set).
    std::optional<std::string> setting(std::string_view name);
    /// Sets a setting; with replace false an existing value is kept. The
    /// value the setting holds afterwards, or nothing on error.
    std::optional<std::string> putSetting(std::string_view name, std::string_view value, bool replace);

private:
    bool insertRows(std::string_view table, std::string_view columns, std::size_t width, std::size_t count,
                    const std::function<void(std::size_t, std::vector<SqlParam>&)>& row);
    std::optional<std::vector<RankedChannel>> ranking(std::string_view sql, const std::vector<SqlParam>& params);

    mutable std::mutex mutex_;
    std::unique_ptr<SqlDriver> driver_;
    std::string error_;
};

}  // namespace cd::server::storage
