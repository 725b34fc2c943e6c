#pragma once
// The query of a report as the program sends it to "/webtv/getData.asp":
// strType, strValue and strItem, each percent-encoded, the item's ":" "?"
// "/" first written as the bracket words "[colon]" "[quest]" "[slash]".
// Reading undoes both, in the reverse order, and refuses anything the
// program would not have sent, so no cut-off or garbled report is counted.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace cd::server::intake {

/// The longest item, in bytes after decoding, that is recorded.
inline constexpr std::size_t kMaxItemBytes = 2048;

struct ReportQuery {
    std::string type;   // "OFFLINE", "FAVORITE" or "Rate"
    std::string value;  // "" or "\"" (OFFLINE), "" (FAVORITE), "1".."5" (Rate)
    std::string item;   // the channel's address (OFFLINE) or name, as bytes
};

struct ReportQueryResult {
    std::optional<ReportQuery> report;
    /// Why the query was refused (when report is empty).
    std::string error;
};

/// Turns "[slash]" "[quest]" "[colon]" back into "/" "?" ":".
std::string undoBracketWords(std::string_view item);

/// Reads a report query: exactly the three keys, once each, percent-decoded
/// ("+" stays "+": the program sends a blank as %20); a known type
/// with a value it allows; an item of 1 to kMaxItemBytes bytes without
/// control characters.
ReportQueryResult parseReportQuery(std::string_view query);

}  // namespace cd::server::intake
