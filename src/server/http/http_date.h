#pragma once
// Dates in HTTP headers (Last-Modified, If-Modified-Since, Date).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace cd::server::http {

/// "Sun, 06 Nov 1994 08:49:37 GMT" for the given seconds since 1970 (UTC).
std::string formatHttpDate(std::int64_t unixSeconds);

/// The seconds since 1970 of an HTTP date in any of its three forms
/// (IMF-fixdate, the obsolete RFC 850 and asctime forms); nothing when the
/// text is not one, which a conditional request then ignores.
std::optional<std::int64_t> parseHttpDate(std::string_view text);

}  // namespace cd::server::http
