#include "fetch/fetch.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "fetch/fetch_server.h"
#include "fetch/online_test.h"
#include "support/fakes.h"
#include "ui/control.h"

namespace cd::fetch {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

long long msSince(Clock::time_point start) {
    return std::chrono::duration_cast<milliseconds>(Clock::now() - start).count();
}

class Fetch : public ::testing::Test {
protected:
    test::FetchTestServer server;
    test::FakeEventPump pump;
    HttpFetcher fetcher{pump};
    ui::Control box{"TextBox", "txtStatus"};
};

// --- Bodies exactly as the server sent them ---

// Catches a lost or extra byte, or a progress total that misses the last read.
TEST_F(Fetch, TenByteBodyAndItsLastProgressText) {
    EXPECT_EQ(fetcher.HttpGetWithProgress(server.url("/ten"), box), "0123456789");
    EXPECT_EQ(box.text(), "Downloaded 10 bytes.");
    EXPECT_GE(pump.calls, 1) << "the closing read lets events run";
    EXPECT_EQ(fetcher.HttpGetText(server.url("/ten")), "0123456789");
}

// Catches an invented progress text or pump for a body that never started.
TEST_F(Fetch, EmptyBodyGivesEmptyTextAndNoProgress) {
    box.setText("before");
    EXPECT_EQ(fetcher.HttpGetWithProgress(server.url("/empty"), box), "");
    EXPECT_EQ(box.text(), "before");
    EXPECT_EQ(pump.calls, 0);
}

// Catches text handling that stops at a NUL or changes high bytes.
TEST_F(Fetch, EveryByteValueArrivesUnchanged) {
    EXPECT_EQ(fetcher.HttpGetText(server.url("/bytes")), test::FetchTestServer::allBytes());
}

// Catches a fetch that looks at the status code instead of returning the
// page, and an online test that misses the page's words.
TEST_F(Fetch, ErrorPagesAreReturnedAndCountOffline) {
    const std::string notFound = fetcher.HttpGetText(server.url("/notfound"));
    EXPECT_NE(notFound.find("page NOT FOUND"), std::string::npos);
    EXPECT_FALSE(IsOnline(notFound));
    const std::string terror = fetcher.HttpGetText(server.url("/terror"));
    EXPECT_EQ(terror, "<html>Welcome to Terror TV</html>");
    EXPECT_FALSE(IsOnline(terror)) << "any body holding 'error' counts offline";
    EXPECT_FALSE(IsOnline(fetcher.HttpGetText(server.url("/spaces"))));
    EXPECT_FALSE(IsOnline(fetcher.HttpGetText(server.url("/empty"))));
}

// Catches a trim that removes CR and LF as well as blanks.
TEST_F(Fetch, CrLfOnlyBodyCountsOnline) {
    const std::string body = fetcher.HttpGetText(server.url("/crlf"));
    EXPECT_EQ(body, "\r\n\r\n");
    EXPECT_TRUE(IsOnline(body));
}

// --- What the request carries ---

// Catches a missing user agent or cache header, and a fetch that goes through
// a proxy named in the environment instead of connecting directly.
TEST_F(Fetch, RequestCarriesAgentAndNoCacheHeadersAndIgnoresProxyVariables) {
    ::setenv("http_proxy", "http://127.0.0.1:9", 1);
    ::setenv("HTTP_PROXY", "http://127.0.0.1:9", 1);
    const std::string seen = fetcher.HttpGetText(server.url("/headers"));
    ::unsetenv("http_proxy");
    ::unsetenv("HTTP_PROXY");
    EXPECT_EQ(seen, "UA=Mozilla\nCC=no-cache\nPRAGMA=no-cache\n");
}

// --- Addresses that must not be fetched, and ones that cannot be ---

// Catches a fetch that reads local files or hands other protocols to libcurl.
TEST_F(Fetch, UnsupportedSchemesGiveEmptyTextAtOnce) {
    const auto start = Clock::now();
    const std::string hostPort = server.host();
    for (const std::string& address : std::vector<std::string>{
             "mms://" + hostPort + "/ten", "rtsp://" + hostPort + "/ten", "file:///etc/passwd", "FILE:///etc/passwd",
             "ftp://" + hostPort + "/ten", "/etc/passwd", hostPort + "/ten", std::string{}, "http:/" + hostPort}) {
        EXPECT_EQ(fetcher.HttpGetText(address), "") << address;
    }
    EXPECT_LT(msSince(start), 1000);
    EXPECT_EQ(pump.calls, 0);
    EXPECT_EQ(fetcher.HttpGetText("HTTP://" + hostPort + "/ten"), "0123456789") << "scheme case does not matter";
}

// Catches a refused connection that hangs or returns something.
TEST(FetchRefused, RefusedConnectionGivesEmptyText) {
    std::string address;
    {
        test::LoopbackServer gone;
        gone.start();
        address = gone.url("/ten");
    }
    test::FakeEventPump pump;
    HttpFetcher fetcher(pump);
    const auto start = Clock::now();
    EXPECT_EQ(fetcher.HttpGetText(address), "");
    EXPECT_LT(msSince(start), 3000);
}

// Catches redirects left unfollowed, and a redirect that smuggles a local file in.
TEST_F(Fetch, RedirectsAreFollowedOnlyToWebAddresses) {
    EXPECT_EQ(fetcher.HttpGetText(server.url("/redirect")), "0123456789");
    const std::string viaFile = fetcher.HttpGetText(server.url("/redirect-file"));
    EXPECT_EQ(viaFile.find("root:"), std::string::npos);
    EXPECT_EQ(viaFile, "");
    const auto start = Clock::now();
    EXPECT_EQ(fetcher.HttpGetText(server.url("/loop")), "") << "an endless redirect chain ends";
    EXPECT_LT(msSince(start), 3000);
}

// --- Bounds ---

// Catches a probe that reads an endless stream forever.
TEST_F(Fetch, ProbeOfEndlessStreamStopsAtItsByteCap) {
    const auto start = Clock::now();
    const std::string body = fetcher.HttpGetText(server.url("/endless"), probeLimits());
    EXPECT_LT(msSince(start), 3000);
    EXPECT_EQ(body.size(), kProbeMaxBytes);
    EXPECT_TRUE(IsOnline(body));
}

// Catches a probe of a slow endless stream that never ends (the byte cap is
// never reached, so the time cap must end it).
TEST_F(Fetch, ProbeOfTrickleStopsAtItsTimeCap) {
    const auto start = Clock::now();
    const std::string body = fetcher.HttpGetText(server.url("/trickle"), probeLimits());
    const auto took = msSince(start);
    EXPECT_GE(took, kProbeMaxBodyTime.count() - 100);
    EXPECT_LT(took, kProbeMaxBodyTime.count() + 2000) << "well under the 10 s a user would wait";
    EXPECT_FALSE(body.empty());
    EXPECT_EQ(body.substr(0, 16), "live stream data");
    EXPECT_TRUE(IsOnline(body));
}

// Catches a missing or wrong default bound.
TEST(FetchLimitsDefaults, BoundsAreTheDocumentedOnes) {
    EXPECT_EQ(kStallTimeout, milliseconds(15'000));
    EXPECT_EQ(kConnectTimeout, milliseconds(10'000));
    EXPECT_EQ(standardLimits().stallTimeout, kStallTimeout);
    EXPECT_EQ(standardLimits().connectTimeout, kConnectTimeout);
    EXPECT_EQ(standardLimits().maxBytes, 0u);
    EXPECT_EQ(probeLimits().maxBytes, 64u * 1024u);
    EXPECT_EQ(probeLimits().maxBodyTime, milliseconds(4'000));
    EXPECT_EQ(probeLimits().stallTimeout, kStallTimeout);
}

// Catches a fetch that waits forever on a server that never answers.
TEST_F(Fetch, SilentServerEndsByTheStallBound) {
    FetchLimits limits;
    limits.stallTimeout = milliseconds(300);
    const auto start = Clock::now();
    EXPECT_EQ(fetcher.HttpGetText(server.url("/silent"), limits), "");
    const auto took = msSince(start);
    EXPECT_GE(took, 290);
    EXPECT_LT(took, 2000);
}

// Catches a stall that throws away what was read before it.
TEST_F(Fetch, StallMidBodyKeepsWhatWasRead) {
    FetchLimits limits;
    limits.stallTimeout = milliseconds(300);
    EXPECT_EQ(fetcher.HttpGetWithProgress(server.url("/stall-mid-body"), box, limits), "abc");
    EXPECT_EQ(box.text(), "Downloaded 3 bytes.");
}

// --- Events between reads ---

// Catches a fetch that blocks the window for a whole long body, or whose
// progress texts do not grow with the body.
TEST_F(Fetch, EventsRunWhileALongBodyArrives) {
    std::vector<std::string> seen;
    pump.onPump = [&] { seen.push_back(box.text()); };
    const std::string body = fetcher.HttpGetWithProgress(server.url("/slow"), box);
    ASSERT_EQ(body.size(), 1000u);
    EXPECT_EQ(body.substr(0, 100), std::string(100, 'a'));
    EXPECT_EQ(body.substr(900), std::string(100, 'j'));
    EXPECT_GE(pump.calls, 5) << "the window ran during the 270 ms of body";
    ASSERT_FALSE(seen.empty());
    EXPECT_NE(seen.front(), "Downloaded 1000 bytes.") << "progress shows while reading, not only at the end";
    EXPECT_EQ(seen.back(), "Downloaded 1000 bytes.");
    EXPECT_EQ(box.text(), "Downloaded 1000 bytes.");
}

// Catches bytes lost, doubled or reordered when a fast body is paused so
// that events can run, and a window left without events while it pours in.
TEST_F(Fetch, FastLargeBodyArrivesWholeWhileEventsRun) {
    const std::string body = fetcher.HttpGetWithProgress(server.url("/pattern"), box);
    ASSERT_EQ(body.size(), test::FetchTestServer::kPatternBytes);
    std::size_t wrong = 0;
    for (std::size_t i = 0; i < body.size(); ++i) wrong += body[i] != test::FetchTestServer::patternByte(i);
    EXPECT_EQ(wrong, 0u);
    EXPECT_GE(pump.calls, 2) << "events ran before the closing read";
    EXPECT_EQ(box.text(), "Downloaded " + std::to_string(test::FetchTestServer::kPatternBytes) + " bytes.");
}

// Catches events run before the first read, while the server has not
// answered yet: handlers must not nest before the body starts.
TEST_F(Fetch, NoEventsRunBeforeTheFirstRead) {
    EXPECT_EQ(fetcher.HttpGetWithProgress(server.url("/late"), box), "late answer");
    EXPECT_EQ(pump.calls, 1) << "only the closing read pumps";
    EXPECT_EQ(box.text(), "Downloaded 11 bytes.");
}

// Catches a fetch that shares state with the fetch that runs inside its pump
// (the channel click during a listing), so either one breaks.
TEST_F(Fetch, FetchNestedInsideThePumpCompletesFirst) {
    std::vector<std::string> inner;
    bool nesting = false;
    pump.onPump = [&] {
        if (nesting || !inner.empty()) return;
        nesting = true;
        inner.push_back(fetcher.HttpGetText(server.url("/ten")));
        inner.push_back(fetcher.HttpGetText(server.url("/redirect")));
        nesting = false;
    };
    const std::string outer = fetcher.HttpGetWithProgress(server.url("/slow"), box);
    EXPECT_EQ(outer.size(), 1000u);
    EXPECT_EQ(outer.substr(500, 100), std::string(100, 'f'));
    EXPECT_EQ(inner, (std::vector<std::string>{"0123456789", "0123456789"}));
    EXPECT_EQ(box.text(), "Downloaded 1000 bytes.");
}

// Catches a stall clock that counts the time a nested handler held the
// thread as the server's silence and cuts the outer body short.
TEST_F(Fetch, TimeInNestedHandlersIsNotAStall) {
    FetchLimits limits;
    limits.stallTimeout = milliseconds(200);
    std::string inner;
    bool started = false;
    pump.onPump = [&] {
        if (started) return;
        started = true;
        inner = fetcher.HttpGetText(server.url("/late"));
    };
    const std::string outer = fetcher.HttpGetText(server.url("/slow"), limits);
    EXPECT_EQ(inner, "late answer");
    EXPECT_EQ(outer.size(), 1000u);
}

// Catches a superseded fetch that goes on reading an endless body (every
// click nested inside it would then wait for it to time out).
TEST_F(Fetch, UnwantedFetchEndsAtTheNextEvents) {
    FetchLimits limits;
    int asked = 0;
    limits.stillWanted = [&] { return ++asked < 3; };
    const auto start = Clock::now();
    const std::string body = fetcher.HttpGetText(server.url("/trickle"), limits);
    EXPECT_LT(msSince(start), 1500);
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(pump.calls, 3) << "no closing events for a fetch nobody waits for";
    EXPECT_EQ(body, "") << "a part of a body must not pass for the whole";
}

// Catches a fetch that outlives the program's end, hands a cut-off body to
// its caller (who would save it), or a new one started after it.
TEST_F(Fetch, ShutDownEndsTheRunningFetchAndRefusesNewOnes) {
    pump.onPump = [&] { fetcher.shutDown(); };
    const auto start = Clock::now();
    EXPECT_EQ(fetcher.HttpGetText(server.url("/slow")), "");
    EXPECT_LT(msSince(start), 1500);
    EXPECT_TRUE(fetcher.isShutDown());
    EXPECT_EQ(fetcher.HttpGetText(server.url("/ten")), "");
}

// Catches a cut-off body (a hang-up, a stall, the program's end) passing for
// a whole one where a file would be replaced with it.
TEST_F(Fetch, WholeBodiesOnlyWhenTheServerEndedThem) {
    EXPECT_EQ(fetcher.HttpGetWhole(server.url("/ten")), std::optional<std::string>("0123456789"));
    EXPECT_EQ(fetcher.HttpGetWhole(server.url("/empty")), std::optional<std::string>(""));
    EXPECT_EQ(fetcher.HttpGetWhole(server.url("/notfound")).value_or("").empty(), false)
        << "an error page is whole too: its content is for the caller to judge";
    EXPECT_EQ(fetcher.HttpGetText(server.url("/broken-off")), "<TRANSLATION_ITEMS>") << "the text keeps what came";
    EXPECT_EQ(fetcher.HttpGetWhole(server.url("/broken-off")), std::nullopt);
    EXPECT_EQ(fetcher.HttpGetWhole("ftp://127.0.0.1/x"), std::nullopt);
    pump.onPump = [&] { fetcher.shutDown(); };
    EXPECT_EQ(fetcher.HttpGetWhole(server.url("/slow")), std::nullopt);
}

// Catches a probe given a request ticket that is not cut short once a newer
// request begins.
TEST_F(Fetch, TicketedProbeEndsWhenANewerRequestBegins) {
    util::RequestSequence requests;
    const auto ticket = requests.begin();
    pump.onPump = [&] { requests.begin(); };
    const auto start = Clock::now();
    fetcher.HttpGetText(server.url("/trickle"), probeLimits(requests, ticket));
    EXPECT_LT(msSince(start), 1500) << "not the 4 s probe bound";
    EXPECT_FALSE(requests.isLatest(ticket));
}

}  // namespace
}  // namespace cd::fetch
