#pragma once
// The owner's page as JSON, for scripts: "/owner/api/rankings" and
// "/owner/api/summary". Names and addresses are decoded as on the page.
#include <string>

#include "owner/owner_report.h"

namespace cd::server::owner {

/// Catalogue, totals and every ranking.
std::string renderRankingsJson(const OwnerReport& report);
/// Catalogue and totals only.
std::string renderSummaryJson(const OwnerReport& report);

}  // namespace cd::server::owner
