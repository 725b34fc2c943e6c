#include "owner/owner_pages.h"

#include "http/percent_decode.h"
#include "owner/owner_json.h"
#include "owner/owner_page.h"

namespace cd::server::owner {

namespace {

constexpr std::size_t kPageRows = 50;
constexpr std::size_t kMaxApiRows = 1000;
// The cookie lasts as long as a month of visits; renewing the token ends it sooner.
constexpr std::string_view kCookieAttributes = "; Path=/owner; HttpOnly; SameSite=Strict; Max-Age=2592000";

// The owner's pages are never cached, framed, or allowed to load anything.
http::Response secured(http::Response r) {
    r.set("cache-control", "no-store");
    r.set("x-content-type-options", "nosniff");
    r.set("x-frame-options", "DENY");
    r.set("referrer-policy", "no-referrer");
    r.set("content-security-policy",
          "default-src 'none'; style-src 'unsafe-inline'; form-action 'self'; frame-ancestors 'none'");
    return r;
}

http::Response html(int status, std::string body) {
    http::Response r;
    r.status = status;
    r.body = std::move(body);
    r.set("content-type", "text/html; charset=utf-8");
    return secured(std::move(r));
}

http::Response json(int status, std::string body) {
    http::Response r;
    r.status = status;
    r.body = std::move(body);
    r.set("content-type", "application/json");
    return secured(std::move(r));
}

http::Response redirectToPage() {
    http::Response r;
    r.status = 303;
    r.set("location", "/owner");
    return secured(std::move(r));
}

// "limit=N" from a query; the page's row count without one, nothing when malformed.
std::optional<std::size_t> rowLimit(std::string_view query) {
    if (query.empty()) return kPageRows;
    const auto value = http::formField(query, "limit");
    if (!value || value->empty() || value->size() > 4 || value->find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const std::size_t n = std::stoul(*value);
    if (n < 1 || n > kMaxApiRows) return std::nullopt;
    return n;
}

}  // namespace

OwnerPages::OwnerPages(storage::ReportStore& store, OwnerGate& gate, const Clock& clock)
    : store_(store), gate_(gate), clock_(clock) {}

bool OwnerPages::owns(std::string_view path) { return path == "/owner" || path.substr(0, 7) == "/owner/"; }

http::Response OwnerPages::handle(const http::Request& request) {
    const bool read = request.method == "GET" || request.method == "HEAD";
    if (request.path == "/owner") {
        if (!read) return secured(http::Response::text(405, "Use GET.\n").set("allow", "GET, HEAD"));
        return page(request);
    }
    if (request.path == "/owner/login") {
        if (request.method != "POST") return secured(http::Response::text(405, "Use POST.\n").set("allow", "POST"));
        return login(request);
    }
    if (request.path == "/owner/logout") {
        if (request.method != "POST") return secured(http::Response::text(405, "Use POST.\n").set("allow", "POST"));
        auto r = redirectToPage();
        r.set("set-cookie", std::string(kLoginCookie) + "=; Path=/owner; HttpOnly; SameSite=Strict; Max-Age=0");
        return r;
    }
    if (request.path.rfind("/owner/api/", 0) == 0) {
        if (!read) return secured(http::Response::text(405, "Use GET.\n").set("allow", "GET, HEAD"));
        return api(request);
    }
    return secured(http::Response::text(404, "No such page.\n"));
}

http::Response OwnerPages::page(const http::Request& request) {
    if (!gate_.admits(request)) {
        auto r = html(401, renderLoginPage(presentedToken(request) ? "The token is not right (was it renewed?)." : ""));
        r.set("www-authenticate", "Bearer realm=\"owner\"");
        return r;
    }
    const auto report = gatherOwnerReport(store_, clock_.unixSeconds(), kPageRows);
    if (!report) return secured(http::Response::text(503, "The store cannot be read: " + store_.lastError() + "\n"));
    return html(200, renderOwnerPage(*report));
}

http::Response OwnerPages::api(const http::Request& request) {
    if (!gate_.admits(request)) {
        auto r = json(401, "{\"error\": \"the owner's token is needed (Authorization: Bearer TOKEN)\"}\n");
        r.set("www-authenticate", "Bearer realm=\"owner\"");
        return r;
    }
    const bool rankings = request.path == "/owner/api/rankings";
    if (!rankings && request.path != "/owner/api/summary") return json(404, "{\"error\": \"no such report\"}\n");
    const auto rows = rowLimit(request.query);
    if (!rows) return json(400, "{\"error\": \"limit must be a number from 1 to 1000\"}\n");
    const auto report = gatherOwnerReport(store_, clock_.unixSeconds(), *rows, rankings);
    if (!report) return json(503, "{\"error\": \"the store cannot be read\"}\n");
    return json(200, rankings ? renderRankingsJson(*report) : renderSummaryJson(*report));
}

http::Response OwnerPages::login(const http::Request& request) {
    const auto token = http::formField(request.body, "token");
    if (!token || !gate_.matches(*token)) return html(401, renderLoginPage("The token is not right."));
    auto r = redirectToPage();
    r.set("set-cookie", std::string(kLoginCookie) + "=" + *token + std::string(kCookieAttributes));
    return r;
}

}  // namespace cd::server::owner
