#include "fetch/report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "fetch/fetch_server.h"
#include "support/fetch_runner.h"
#include "support/script_server.h"

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
// its bracket words mangled on the way, and a submit that waits for the answer.
TEST(ReportSubmit, ServerSeesTheWholeEscapedItem) {
    test::FetchTestServer server;
    test::FetchRunner run;
    Reporter reporter(run.client, server.host());
    const std::string item = "mms://tv.example/a b?x=1&y=2#top";
    reporter.SubmitReport(item, "OFFLINE", "\"");
    reporter.SubmitReport("Fox TV", "Rate", "4");
    EXPECT_EQ(reporter.pending(), 2u) << "submitting returns before the answer";
    ASSERT_TRUE(run.loop.runUntil([&] { return reporter.pending() == 0; }, std::chrono::seconds(10)));
    auto targets = server.targets();
    ASSERT_EQ(targets.size(), 2u);
    std::sort(targets.begin(), targets.end());
    EXPECT_EQ(targets[0],
              "/webtv/getData.asp?strType=OFFLINE&strValue=%22&strItem="
              "mms[colon][slash][slash]tv.example[slash]a%20b[quest]x%3D1%26y%3D2%23top");
    EXPECT_EQ(targets[1], "/webtv/getData.asp?strType=Rate&strValue=4&strItem=Fox%20TV");
    const auto items = server.items();
    EXPECT_TRUE(std::find(items.begin(), items.end(),
                          "mms[colon][slash][slash]tv.example[slash]a b[quest]x=1&y=2#top") != items.end())
        << "the server decodes the item back whole";
}

// Catches a report that throws or hangs when the server is gone, and one
// still on its way when the program ends that is not given up.
TEST(ReportSubmit, FailedAndCancelledReportsAreSilent) {
    std::string host;
    {
        test::LoopbackServer gone;
        gone.start();
        host = gone.host();
    }
    test::FetchRunner run;
    Reporter reporter(run.client, host);
    reporter.SubmitReport("x", "FAVORITE", "");
    EXPECT_TRUE(run.loop.runUntil([&] { return reporter.pending() == 0; }, std::chrono::seconds(5)));

    test::ScriptServer silent;
    silent.on("/webtv/getData.asp", test::Script{{}, false, true});
    Reporter toSilence(run.client, silent.host());
    toSilence.SubmitReport("y", "OFFLINE", "");
    run.loop.runUntil([] { return false; }, std::chrono::milliseconds(100));
    EXPECT_EQ(toSilence.pending(), 1u);
    toSilence.cancelAll();
    EXPECT_EQ(toSilence.pending(), 0u);
    EXPECT_EQ(run.client.active(), 0u) << "its fetch went with it";
}

}  // namespace
}  // namespace cd::fetch
