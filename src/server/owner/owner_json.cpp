#include "owner/owner_json.h"

#include <cstdio>

#include "owner/text_escape.h"

namespace cd::server::owner {

namespace {

std::string rows(const std::vector<storage::RankedChannel>& list, bool ratings) {
    std::string out = "[";
    for (std::size_t i = 0; i < list.size(); ++i) {
        const auto& c = list[i];
        out += i ? ",\n    {" : "\n    {";
        out += "\"rank\": " + std::to_string(i + 1) + ", \"name\": " + jsonString(displayText(c.name)) +
               ", \"address\": " + jsonString(displayText(c.address)) +
               ", \"category\": " + jsonString(displayText(c.category));
        if (ratings) {
            char buf[32];
            std::snprintf(buf, sizeof buf, "%.4f", c.reporters ? static_cast<double>(c.stars) / c.reporters : 0.0);
            out += ", \"raters\": " + std::to_string(c.reporters) + ", \"average\": " + buf;
        } else {
            out += ", \"clients\": " + std::to_string(c.reporters);
        }
        out += "}";
    }
    return out + (list.empty() ? "]" : "\n  ]");
}

std::string head(const OwnerReport& r) {
    return "{\n  \"generated_at\": " + std::to_string(r.generatedAt) + ",\n  \"engine\": " + jsonString(r.engine) +
           ",\n  \"catalogue\": {\"version\": " + std::to_string(r.catalogueVersion) +
           ", \"published_at\": " + std::to_string(r.cataloguePublishedAt) +
           ", \"records\": " + std::to_string(r.catalogueRecords) +
           "},\n  \"reports\": {\"OFFLINE\": " + std::to_string(r.totals.offline) +
           ", \"FAVORITE\": " + std::to_string(r.totals.favorite) + ", \"Rate\": " + std::to_string(r.totals.rate) +
           ", \"all\": " + std::to_string(r.totals.all()) + "}";
}

}  // namespace

std::string renderRankingsJson(const OwnerReport& r) {
    std::string out = head(r) + ",\n  \"offline\": {";
    for (std::size_t w = 0; w < r.offline.size() && w < std::size(kOfflineWindows); ++w) {
        out += w ? ",\n  " : "\n  ";
        out += "\"" + std::to_string(kOfflineWindows[w]) + "\": " + rows(r.offline[w], false);
    }
    out += "},\n  \"favourites\": " + rows(r.favourites, false);
    out += ",\n  \"ratings\": " + rows(r.ratings, true) + "\n}\n";
    return out;
}

std::string renderSummaryJson(const OwnerReport& r) { return head(r) + "\n}\n"; }

}  // namespace cd::server::owner
