#include "fetch/report.h"

#include <gtest/gtest.h>

#include <chrono>

#include "fetch/fetch_server.h"
#include "support/fakes.h"

namespace cd::fetch {
namespace {

// Catches a bracket word missed at a later occurrence, or brackets lost to
// the percent-encoding that follows.
TEST(ReportEscaping, BracketWordsReplaceEveryColonQuestionMarkAndSlash) {
    EXPECT_EQ(EscapeReportItem("http://tv.example/live?id=7"),
              "http[colon][slash][slash]tv.example[slash]live[quest]id%3D7");
    EXPECT_EQ(EscapeReportItem("a::b//c??"), "a[colon][colon]b[slash][slash]c[quest][quest]");
    EXPECT_EQ(EscapeReportItem(""), "");
}

// Catches an item that splits or ends the query ("&", "#"), changes meaning
// ("+", "=", "%"), or carries raw blanks, control or high bytes.
TEST(ReportEscaping, BytesThatCannotStandInAQueryArePercentEncoded) {
    EXPECT_EQ(EscapeReportItem("Rock & Roll #1"), "Rock%20%26%20Roll%20%231");
    EXPECT_EQ(EscapeReportItem("a+b=c%d"), "a%2Bb%3Dc%25d");
    EXPECT_EQ(EscapeReportItem(std::string("\x01\x7f\xe9\n", 4)), "%01%7F%E9%0A");
    EXPECT_EQ(EscapeReportItem("Az09-._~[x]"), "Az09-._~[x]") << "unreserved bytes and brackets stay";
}

// Catches a wrong path, key order or key name in the report address.
TEST(ReportEscaping, AddressHasPathKeysAndEscapedItem) {
    EXPECT_EQ(ReportAddress("cat.example", "Fox TV", "Rate", "5"),
              "http://cat.example/webtv/getData.asp?strType=Rate&strValue=5&strItem=Fox%20TV");
    EXPECT_EQ(ReportAddress("h", "mms://x/y", "OFFLINE", "\""),
              "http://h/webtv/getData.asp?strType=OFFLINE&strValue=%22&strItem=mms[colon][slash][slash]x[slash]y");
}

// Catches a report whose query reaches the server cut at "&" or "#", or with
// its bracket words mangled on the way.
TEST(ReportSubmit, ServerSeesTheWholeEscapedItem) {
    test::FetchTestServer server;
    test::FakeEventPump pump;
    HttpFetcher fetcher(pump);
    Reporter reporter(fetcher, server.host());
    const std::string item = "mms://tv.example/a b?x=1&y=2#top";
    reporter.SubmitReport(item, "OFFLINE", "\"");
    reporter.SubmitReport("Fox TV", "Rate", "4");
    const auto targets = server.targets();
    ASSERT_EQ(targets.size(), 2u);
    EXPECT_EQ(targets[0],
              "/webtv/getData.asp?strType=OFFLINE&strValue=%22&strItem="
              "mms[colon][slash][slash]tv.example[slash]a%20b[quest]x%3D1%26y%3D2%23top");
    EXPECT_EQ(targets[1], "/webtv/getData.asp?strType=Rate&strValue=4&strItem=Fox%20TV");
    const auto items = server.items();
    EXPECT_EQ(items[0], "mms[colon][slash][slash]tv.example[slash]a b[quest]x=1&y=2#top")
        << "the server decodes the item back whole";
}

// Catches a report that throws or hangs when the server is gone.
TEST(ReportSubmit, FailedReportIsSilent) {
    std::string host;
    {
        test::LoopbackServer gone;
        gone.start();
        host = gone.host();
    }
    test::FakeEventPump pump;
    HttpFetcher fetcher(pump);
    Reporter reporter(fetcher, host);
    const auto start = std::chrono::steady_clock::now();
    reporter.SubmitReport("x", "FAVORITE", "");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    EXPECT_EQ(pump.calls, 0);
}

}  // namespace
}  // namespace cd::fetch
