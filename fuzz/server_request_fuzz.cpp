// channeldeck-server's request reading: the HTTP head parser (whole and in
// two pieces), the report query with the program's escaping, HTTP dates and
// form fields, over arbitrary bytes from the network.
#include <cstdint>
#include <string>
#include <string_view>

#include "fetch/report.h"
#include "fuzz_support.h"
#include "http/http_date.h"
#include "http/percent_decode.h"
#include "http/request_parser.h"
#include "intake/report_query.h"

namespace {

using namespace cd;

// A report the server accepts is one the program could have sent: built
// again from what was read, it reads back the same.
void checkReportQuery(std::string_view query) {
    const auto parsed = server::intake::parseReportQuery(query);
    CD_FUZZ_CHECK(parsed.report.has_value() == parsed.error.empty());
    if (!parsed.report) return;
    const auto& r = *parsed.report;
    CD_FUZZ_CHECK(r.type == "OFFLINE" || r.type == "FAVORITE" || r.type == "Rate");
    CD_FUZZ_CHECK(!r.item.empty() && r.item.size() <= server::intake::kMaxItemBytes);
    for (const char c : r.item) CD_FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20 && c != 0x7f);
    const std::string again = fetch::ReportAddress("h", r.item, r.type, r.value);
    const auto reread = server::intake::parseReportQuery(std::string_view(again).substr(again.find('?') + 1));
    CD_FUZZ_CHECK(reread.report.has_value());
    CD_FUZZ_CHECK(reread.report->item == r.item && reread.report->type == r.type && reread.report->value == r.value);
}

void checkHead(std::string_view bytes, std::size_t cut) {
    server::http::Request whole;
    std::size_t scanned = 0;
    const auto result = server::http::parseHead(bytes, scanned, whole, {});
    using State = server::http::HeadResult::State;
    if (result.state == State::Done) {
        CD_FUZZ_CHECK(result.headLength <= bytes.size());
        CD_FUZZ_CHECK(!whole.path.empty() && whole.path.front() == '/');
        CD_FUZZ_CHECK(whole.target ==
                      (whole.target.find('?') == std::string::npos ? whole.path : whole.path + "?" + whole.query));
        for (const auto& h : whole.headers) {
            CD_FUZZ_CHECK(h.value.find_first_of("\r\n") == std::string::npos);
            if (h.name == "if-modified-since") {
                if (const auto t = server::http::parseHttpDate(h.value))
                    CD_FUZZ_CHECK(server::http::parseHttpDate(server::http::formatHttpDate(*t)) == t);
            }
        }
        checkReportQuery(whole.query);
    } else if (result.state == State::Error) {
        CD_FUZZ_CHECK(result.status >= 400 && result.status < 600);
    }
    // Read in two pieces, the head gives what it gives read at once.
    server::http::Request pieces;
    std::size_t scannedPieces = 0;
    const auto first = server::http::parseHead(bytes.substr(0, cut), scannedPieces, pieces, {});
    if (first.state != State::NeedMore) return;
    const auto second = server::http::parseHead(bytes, scannedPieces, pieces, {});
    CD_FUZZ_CHECK(second.state == result.state);
    CD_FUZZ_CHECK(second.headLength == result.headLength && second.status == result.status);
    if (result.state == State::Done) CD_FUZZ_CHECK(pieces.target == whole.target);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::asText(data, size);
    checkHead(bytes, size == 0 ? 0 : data[0] % size);
    checkReportQuery(bytes);
    if (const auto t = server::http::parseHttpDate(bytes))
        CD_FUZZ_CHECK(server::http::parseHttpDate(server::http::formatHttpDate(*t)) == t);
    (void)server::http::formField(bytes, "token");
    return 0;
}
