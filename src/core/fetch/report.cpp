#include "fetch/report.h"

#include "util/text.h"

namespace cd::fetch {

namespace {

// Bytes that stand in a query value as they are: the unreserved characters
// and the brackets of the bracket words. Everything else is percent-encoded,
// so "&", "#", "=", "+", "%", blanks, control and high bytes cannot split or
// end the query, or reach the server as something else.
bool standsAsIs(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~' || c == '[' || c == ']';
}

std::string percentEncode(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (standsAsIs(c)) {
            out += ch;
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        }
    }
    return out;
}

}  // namespace

std::string EscapeReportItem(const std::string& item) {
    std::string escaped = util::replaceAll(item, ":", "[colon]");
    escaped = util::replaceAll(escaped, "?", "[quest]");
    escaped = util::replaceAll(escaped, "/", "[slash]");
    return percentEncode(escaped);
}

std::string ReportAddress(const std::string& host, const std::string& item, const std::string& type,
                          const std::string& value) {
    // Type and value are fixed words, digits or one double quote; the quote
    // may not stand in a request line, so they are percent-encoded too.
    return "http://" + host + "/webtv/getData.asp?strType=" + percentEncode(type) +
           "&strValue=" + percentEncode(value) + "&strItem=" + EscapeReportItem(item);
}

namespace {
util::Task<> sendReport(Fetcher& fetcher, std::string address) {
    FetchRequest request;
    request.address = std::move(address);
    request.bounds = reportBounds();
    request.keepBody = false;
    // The answer means nothing to the program; a lost report is not retried.
    co_await fetchAsync(fetcher, std::move(request));
}
}  // namespace

Reporter::Reporter(Fetcher& fetcher, std::string catalogueHost) : fetcher_(fetcher), host_(std::move(catalogueHost)) {}

void Reporter::SubmitReport(const std::string& item, const std::string& type, const std::string& value) {
    sending_.spawn(sendReport(fetcher_, ReportAddress(host_, item, type, value)));
}

}  // namespace cd::fetch
