#pragma once
#include <string>

#include "fetch/fetcher.h"
#include "util/task.h"

namespace cd::fetch {

/// The item escaping of a report: ":" "?" "/" become "[colon]" "[quest]"
/// "[slash]" (in that order), then every byte other than letters, digits,
/// "-" "." "_" "~" "[" "]" is percent-encoded (%XX, upper-case hex).
std::string EscapeReportItem(const std::string& item);
/// "http://HOST/webtv/getData.asp?strType=TYPE&strValue=VALUE&strItem=ITEM",
/// the item escaped as above, type and value percent-encoded only.
std::string ReportAddress(const std::string& host, const std::string& item, const std::string& type,
                          const std::string& value);

/// Sends reports (OFFLINE, FAVORITE, Rate) to the catalogue server.
class Reporter {
public:
    Reporter(Fetcher& fetcher, std::string catalogueHost);
    /// Starts the fetch of the report address and returns; the answer is
    /// read (16 KiB at most) and dropped. Never reports failure.
    void SubmitReport(const std::string& item, const std::string& type, const std::string& value);
    /// Reports still on their way.
    std::size_t pending() const { return sending_.size(); }
    /// The program is ending: reports still on their way are given up.
    void cancelAll() { sending_.cancelAll(); }

private:
    Fetcher& fetcher_;
    std::string host_;
    util::TaskGroup sending_;
};

}  // namespace cd::fetch
