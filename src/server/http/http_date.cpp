#include "http/http_date.h"

#include <array>
#include <cstdio>

namespace cd::server::http {

namespace {

constexpr std::array<const char*, 7> kDays = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// Days from 1970-01-01 to a civil date and back (proleptic Gregorian), so
// no call depends on the process's time zone.
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void civilFromDays(std::int64_t z, std::int64_t& y, unsigned& m, unsigned& d) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    y = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y += m <= 2;
}

struct Cursor {
    std::string_view s;
    std::size_t i = 0;
    bool literal(std::string_view t) {
        if (s.substr(i, t.size()) != t) return false;
        i += t.size();
        return true;
    }
    bool digits(int n, int& out) {
        if (i + static_cast<std::size_t>(n) > s.size()) return false;
        out = 0;
        for (int k = 0; k < n; ++k) {
            const char c = s[i + static_cast<std::size_t>(k)];
            if (c < '0' || c > '9') return false;
            out = out * 10 + (c - '0');
        }
        i += static_cast<std::size_t>(n);
        return true;
    }
    bool month(unsigned& out) {
        for (unsigned k = 0; k < kMonths.size(); ++k) {
            if (literal(kMonths[k])) {
                out = k + 1;
                return true;
            }
        }
        return false;
    }
    bool time(int& h, int& mi, int& se) {
        return digits(2, h) && literal(":") && digits(2, mi) && literal(":") && digits(2, se);
    }
    bool atEnd() const { return i == s.size(); }
};

std::optional<std::int64_t> toSeconds(std::int64_t year, unsigned month, int day, int h, int mi, int se) {
    if (day < 1 || day > 31 || h > 23 || mi > 59 || se > 60) return std::nullopt;
    return daysFromCivil(year, month, static_cast<unsigned>(day)) * 86400 + h * 3600 + mi * 60 + se;
}

}  // namespace

std::string formatHttpDate(std::int64_t unixSeconds) {
    const std::int64_t days = unixSeconds >= 0 ? unixSeconds / 86400 : (unixSeconds - 86399) / 86400;
    const std::int64_t secs = unixSeconds - days * 86400;
    std::int64_t y = 0;
    unsigned m = 0, d = 0;
    civilFromDays(days, y, m, d);
    const auto weekday = static_cast<std::size_t>(((days % 7) + 11) % 7);  // 1970-01-01 was a Thursday
    char buf[40];
    std::snprintf(buf, sizeof buf, "%s, %02u %s %04lld %02d:%02d:%02d GMT", kDays[weekday], d, kMonths[m - 1],
                  static_cast<long long>(y), static_cast<int>(secs / 3600), static_cast<int>(secs / 60 % 60),
                  static_cast<int>(secs % 60));
    return buf;
}

std::optional<std::int64_t> parseHttpDate(std::string_view text) {
    int day = 0, year = 0, h = 0, mi = 0, se = 0;
    unsigned month = 0;
    // IMF-fixdate: "Sun, 06 Nov 1994 08:49:37 GMT"
    {
        Cursor c{text};
        if (text.size() > 5 && text[3] == ',') {
            c.i = 4;
            if (c.literal(" ") && c.digits(2, day) && c.literal(" ") && c.month(month) && c.literal(" ") &&
                c.digits(4, year) && c.literal(" ") && c.time(h, mi, se) && c.literal(" GMT") && c.atEnd())
                return toSeconds(year, month, day, h, mi, se);
            return std::nullopt;
        }
    }
    // RFC 850: "Sunday, 06-Nov-94 08:49:37 GMT" (two-digit years taken as 19xx/20xx as RFC 9110 says)
    const std::size_t comma = text.find(", ");
    if (comma != std::string_view::npos) {
        Cursor c{text, comma + 2};
        if (c.digits(2, day) && c.literal("-") && c.month(month) && c.literal("-") && c.digits(2, year) &&
            c.literal(" ") && c.time(h, mi, se) && c.literal(" GMT") && c.atEnd()) {
            year += year < 70 ? 2000 : 1900;
            return toSeconds(year, month, day, h, mi, se);
        }
        return std::nullopt;
    }
    // asctime: "Sun Nov  6 08:49:37 1994"
    Cursor c{text};
    if (text.size() < 4) return std::nullopt;
    c.i = 4;
    if (!c.month(month) || !c.literal(" ")) return std::nullopt;
    if (c.literal(" ")) {
        if (!c.digits(1, day)) return std::nullopt;
    } else if (!c.digits(2, day)) {
        return std::nullopt;
    }
    if (c.literal(" ") && c.time(h, mi, se) && c.literal(" ") && c.digits(4, year) && c.atEnd())
        return toSeconds(year, month, day, h, mi, se);
    return std::nullopt;
}

}  // namespace cd::server::http
