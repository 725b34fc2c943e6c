#include "owner/owner_report.h"

namespace cd::server::owner {

std::optional<OwnerReport> gatherOwnerReport(storage::ReportStore& store, std::int64_t now, std::size_t rows,
                                             bool withRankings) {
    OwnerReport report;
    report.generatedAt = now;
    report.engine = std::string(store.engine());
    const auto catalogue = store.loadCatalogue(false);
    const auto totals = store.totals();
    if (!catalogue || !totals) return std::nullopt;
    report.catalogueVersion = catalogue->version;
    report.cataloguePublishedAt = catalogue->publishedAt;
    report.catalogueRecords = catalogue->records;
    report.totals = *totals;
    if (!withRankings) return report;
    for (const int days : kOfflineWindows) {
        auto ranking = store.offlineRanking(now - static_cast<std::int64_t>(days) * 86400, rows);
        if (!ranking) return std::nullopt;
        report.offline.push_back(std::move(*ranking));
    }
    auto favourites = store.favouriteRanking(rows);
    auto ratings = store.ratingRanking(rows);
    if (!favourites || !ratings) return std::nullopt;
    report.favourites = std::move(*favourites);
    report.ratings = std::move(*ratings);
    return report;
}

}  // namespace cd::server::owner
