#include "owner/owner_token.h"

#include <sys/random.h>

#include <cerrno>

namespace cd::server::owner {

bool tokensEqual(std::string_view expected, std::string_view presented) {
    if (expected.empty()) return false;
    // Every byte of expected is compared, whatever came before; differences
    // are gathered, not acted on, until the end.
    std::size_t diff = expected.size() ^ presented.size();
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto p = i < presented.size() ? static_cast<unsigned char>(presented[i]) : 0u;
        diff |= static_cast<unsigned char>(expected[i]) ^ p;
    }
    return diff == 0;
}

std::string newToken() {
    unsigned char bytes[32];
    std::size_t got = 0;
    while (got < sizeof bytes) {
        const ssize_t n = ::getrandom(bytes + got, sizeof bytes - got, 0);
        if (n < 0) {
            if (errno == EINTR) continue;
            return "";
        }
        got += static_cast<std::size_t>(n);
    }
    static constexpr char kHex[] = "0123456789abcdef";
    std::string token;
    for (const unsigned char b : bytes) {
        token += kHex[b >> 4];
        token += kHex[b & 15];
    }
    return token;
}

std::optional<std::string> bearerToken(const http::Request& request) {
    const std::string* auth = request.header("authorization");
    if (!auth) return std::nullopt;
    const std::string_view a = *auth;
    if (a.size() <= 7 || (a.substr(0, 7) != "Bearer " && a.substr(0, 7) != "bearer ")) return std::nullopt;
    std::string_view t = a.substr(7);
    while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
    return std::string(t);
}

std::optional<std::string> presentedToken(const http::Request& request) {
    if (auto bearer = bearerToken(request)) return bearer;
    for (const auto& h : request.headers) {
        if (h.name != "cookie") continue;
        std::string_view rest = h.value;
        while (!rest.empty()) {
            const std::size_t semi = rest.find(';');
            std::string_view pair = rest.substr(0, semi);
            rest = semi == std::string_view::npos ? std::string_view() : rest.substr(semi + 1);
            while (!pair.empty() && pair.front() == ' ') pair.remove_prefix(1);
            const std::size_t eq = pair.find('=');
            if (eq != std::string_view::npos && pair.substr(0, eq) == kLoginCookie)
                return std::string(pair.substr(eq + 1));
        }
    }
    return std::nullopt;
}

std::optional<std::string> ensureToken(storage::ReportStore& store, bool renew) {
    const std::string fresh = newToken();
    if (fresh.empty()) return std::nullopt;
    return store.putSetting(kTokenSetting, fresh, renew);
}

OwnerGate::OwnerGate(storage::ReportStore& store) : store_(store) {}

bool OwnerGate::refresh() {
    const auto stored = store_.setting(kTokenSetting);
    if (!stored) return false;
    std::lock_guard lock(mutex_);
    token_ = *stored;
    return true;
}

bool OwnerGate::admits(const http::Request& request) const {
    const auto shown = presentedToken(request);
    return shown && matches(*shown);
}

bool OwnerGate::matches(std::string_view text) const {
    std::string expected;
    {
        std::lock_guard lock(mutex_);
        expected = token_;
    }
    return tokensEqual(expected, text);
}

}  // namespace cd::server::owner
