#include "owner/owner_page.h"

#include <cstdio>

#include "http/http_date.h"
#include "owner/text_escape.h"

namespace cd::server::owner {

namespace {

constexpr std::string_view kHead =
    "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
    "<meta name=\"viewport\" content=\"width=device-width\">"
    "<title>ChannelDeck catalogue server</title><style>"
    "body{font-family:sans-serif;margin:1.5em;color:#222}"
    "table{border-collapse:collapse;margin:0 0 2em}"
    "th,td{border:1px solid #ccc;padding:.25em .6em;text-align:left;vertical-align:top}"
    "td.n{text-align:right}td.a{word-break:break-all;max-width:40em;color:#555}"
    "</style></head><body>\n";

std::string cell(std::string_view bytes) { return "<td>" + htmlEscape(displayText(bytes)) + "</td>"; }

std::string number(long long n) { return "<td class=\"n\">" + std::to_string(n) + "</td>"; }

std::string average(const storage::RankedChannel& c) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", c.reporters ? static_cast<double>(c.stars) / c.reporters : 0.0);
    return buf;
}

std::string table(const std::vector<storage::RankedChannel>& rows, std::string_view countHeading, bool ratings) {
    std::string out = "<table><tr><th>#</th><th>Channel</th><th>Category</th><th>Address</th>";
    if (ratings) out += "<th>Average</th>";
    out += "<th>" + htmlEscape(countHeading) + "</th></tr>\n";
    if (rows.empty()) out += "<tr><td colspan=\"" + std::string(ratings ? "6" : "5") + "\">No reports.</td></tr>\n";
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto& c = rows[i];
        out += "<tr>" + number(static_cast<long long>(i + 1)) + cell(c.name) + cell(c.category) + "<td class=\"a\">" +
               htmlEscape(displayText(c.address)) + "</td>";
        if (ratings) out += "<td class=\"n\">" + average(c) + "</td>";
        out += number(c.reporters) + "</tr>\n";
    }
    return out + "</table>\n";
}

}  // namespace

std::string renderOwnerPage(const OwnerReport& r) {
    std::string out(kHead);
    out += "<h1>Catalogue reports</h1>\n<p>";
    if (r.catalogueVersion == 0) {
        out += "No catalogue is published yet; the rankings list the published catalogue's channels.";
    } else {
        out += "Published catalogue: version " + std::to_string(r.catalogueVersion) + ", " +
               std::to_string(r.catalogueRecords) + (r.catalogueRecords == 1 ? " record" : " records") +
               ", published " + htmlEscape(http::formatHttpDate(r.cataloguePublishedAt)) + ".";
    }
    out += "<br>Reports kept: " + std::to_string(r.totals.offline) + " OFFLINE, " + std::to_string(r.totals.favorite) +
           " FAVORITE, " + std::to_string(r.totals.rate) +
           " Rate (one per client address, type, channel and day).<br>As of " +
           htmlEscape(http::formatHttpDate(r.generatedAt)) + "; store: " + htmlEscape(r.engine) + ".</p>\n";
    out += "<form method=\"post\" action=\"/owner/logout\"><button type=\"submit\">Log out</button></form>\n";
    for (std::size_t w = 0; w < r.offline.size() && w < std::size(kOfflineWindows); ++w) {
        const int days = kOfflineWindows[w];
        out += "<h2>Reported offline in the last " +
               (days == 1 ? std::string("24 hours") : std::to_string(days) + " days") + "</h2>\n";
        out += table(r.offline[w], "Reporters", false);
    }
    out += "<h2>Most favourited</h2>\n" + table(r.favourites, "Clients", false);
    out += "<h2>Best rated</h2>\n" + table(r.ratings, "Raters", true);
    out += "</body></html>\n";
    return out;
}

std::string renderLoginPage(std::string_view message) {
    std::string out(kHead);
    out += "<h1>Catalogue owner</h1>\n";
    if (!message.empty()) out += "<p>" + htmlEscape(message) + "</p>\n";
    out +=
        "<form method=\"post\" action=\"/owner/login\">"
        "<label>Owner token <input type=\"password\" name=\"token\" autocomplete=\"current-password\" "
        "size=\"70\"></label> <button type=\"submit\">Log in</button></form>\n"
        "<p>The token is printed by <code>channeldeck-server token --data DIR</code> on the server.</p>\n"
        "</body></html>\n";
    return out;
}

}  // namespace cd::server::owner
