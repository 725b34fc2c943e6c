#pragma once
// The catalogue owner's token: 256 random bits, kept in the store's
// settings so every server process on one database accepts the same one.
// The owner reads or renews it with "channeldeck-server token"; a request
// shows it as "Authorization: Bearer TOKEN" or in the login cookie.
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "http/request.h"
#include "storage/report_store.h"

namespace cd::server::owner {

inline constexpr std::string_view kTokenSetting = "owner_token";
inline constexpr std::string_view kLoginCookie = "cd_owner";

/// True when presented equals expected. The time taken depends on the
/// lengths only, never on where the two first differ, so a client cannot
/// find the token a byte at a time by timing answers. An empty expected
/// token matches nothing.
bool tokensEqual(std::string_view expected, std::string_view presented);

/// 64 hex digits from the system's random source; "" when it fails.
std::string newToken();

/// The token of "Authorization: Bearer TOKEN", if the request has one.
std::optional<std::string> bearerToken(const http::Request& request);
/// The token a request shows: the Bearer credentials, else the login cookie.
std::optional<std::string> presentedToken(const http::Request& request);

/// The stored token, creating one when the store has none (or, with renew,
/// replacing it). Nothing when the store fails.
std::optional<std::string> ensureToken(storage::ReportStore& store, bool renew);

/// The token as this process checks it: read from the store by refresh()
/// (at start and then every second from a background thread), so checking
/// a request never waits for the database and a renewed token takes effect
/// everywhere within a second.
class OwnerGate {
public:
    explicit OwnerGate(storage::ReportStore& store);
    /// Reads the token from the store; false (keeping the known token) when
    /// the store cannot be read.
    bool refresh();
    /// True when the request shows the owner's token.
    bool admits(const http::Request& request) const;
    /// True when text is the owner's token (the login form).
    bool matches(std::string_view text) const;

private:
    storage::ReportStore& store_;
    mutable std::mutex mutex_;
    std::string token_;
};

}  // namespace cd::server::owner
