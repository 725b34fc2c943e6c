#pragma once
#include <string>

#include "fetch/fetch.h"

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
    Reporter(HttpFetcher& fetcher, std::string catalogueHost);
    /// Fetches the report address and drops the answer; never reports failure.
    void SubmitReport(const std::string& item, const std::string& type, const std::string& value);

private:
    HttpFetcher& fetcher_;
    std::string host_;
};

}  // namespace cd::fetch
