#pragma once
// What the owner's page and its JSON show, gathered from the store at once.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "storage/report_store.h"

namespace cd::server::owner {

/// The windows of the OFFLINE ranking, in days back from now.
inline constexpr int kOfflineWindows[] = {1, 7, 30};

struct OwnerReport {
    std::int64_t generatedAt = 0;
    std::string engine;
    std::int64_t catalogueVersion = 0;  // 0: nothing published
    std::int64_t cataloguePublishedAt = 0;
    std::int64_t catalogueRecords = 0;
    storage::ReportTotals totals;
    /// One ranking per window of kOfflineWindows, in that order.
    std::vector<std::vector<storage::RankedChannel>> offline;
    std::vector<storage::RankedChannel> favourites;
    std::vector<storage::RankedChannel> ratings;
};

/// Everything the owner sees, as of now (without withRankings, the
/// catalogue and totals only); nothing when the store fails.
std::optional<OwnerReport> gatherOwnerReport(storage::ReportStore& store, std::int64_t now, std::size_t rows,
                                             bool withRankings = true);

}  // namespace cd::server::owner
