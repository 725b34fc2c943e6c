#include "fetch/http_client.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <string>
#include <vector>

#include "fetch/fetch_server.h"
#include "support/fetch_runner.h"
#include "support/script_server.h"

namespace cd::fetch {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using test::httpHead;
using test::Script;
using test::ScriptStep;

long long msSince(Clock::time_point start) {
    return std::chrono::duration_cast<milliseconds>(Clock::now() - start).count();
}

class HttpClientTest : public ::testing::Test {
protected:
    test::FetchTestServer server;
    test::ScriptServer script;
    test::FetchRunner run;
};

// --- Bodies and heads exactly as the server sent them ---

// Catches a lost, extra or changed byte, a status or header not passed on,
// and an error page swallowed instead of returned for the caller to judge.
TEST_F(HttpClientTest, BodiesStatusAndHeadersArriveUnchanged) {
    FetchResult ten = run.get(server.url("/ten"));
    EXPECT_EQ(ten.error, FetchError::None);
    EXPECT_EQ(ten.body, "0123456789");
    EXPECT_TRUE(ten.whole);
    EXPECT_EQ(ten.head.status, 200);
    EXPECT_EQ(ten.head.mediaType(), "text/plain");

    EXPECT_EQ(run.get(server.url("/bytes")).body, test::FetchTestServer::allBytes());
    const FetchResult empty = run.get(server.url("/empty"));
    EXPECT_TRUE(empty.whole);
    EXPECT_EQ(empty.body, "");

    const FetchResult notFound = run.get(server.url("/notfound"));
    EXPECT_EQ(notFound.error, FetchError::None);
    EXPECT_EQ(notFound.head.status, 404);
    EXPECT_NE(notFound.body.find("page NOT FOUND"), std::string::npos);
    EXPECT_TRUE(notFound.whole);
}

// Catches a missing user agent or cache header, and a fetch that goes through
// a proxy named in the environment instead of connecting directly.
TEST_F(HttpClientTest, RequestCarriesAgentAndNoCacheHeadersAndIgnoresProxyVariables) {
    ::setenv("http_proxy", "http://127.0.0.1:9", 1);
    ::setenv("HTTP_PROXY", "http://127.0.0.1:9", 1);
    FetchRequest request;
    request.address = server.url("/headers");
    const FetchResult seen = run.get(std::move(request));
    ::unsetenv("http_proxy");
    ::unsetenv("HTTP_PROXY");
    EXPECT_EQ(seen.body, "UA=Mozilla\nCC=no-cache\nPRAGMA=no-cache\n");
}

// --- Addresses that must not be fetched, and ones that cannot be ---

// Catches a fetch that reads local files or hands other protocols to libcurl,
// and a result delivered from inside start() (its caller is not waiting yet).
TEST_F(HttpClientTest, UnsupportedSchemesEndAsBadAddressesLater) {
    const std::string hostPort = server.host();
    for (const std::string& address : std::vector<std::string>{
             "mms://" + hostPort + "/ten", "rtsp://" + hostPort + "/ten", "file:///etc/passwd", "FILE:///etc/passwd",
             "ftp://" + hostPort + "/ten", "/etc/passwd", hostPort + "/ten", std::string{}, "http:/" + hostPort}) {
        bool delivered = false;
        FetchResult result;
        FetchRequest request;
        request.address = address;
        run.client.start(std::move(request), [&](FetchResult r) {
            delivered = true;
            result = std::move(r);
        });
        EXPECT_FALSE(delivered) << address;
        run.loop.runUntil([&] { return delivered; }, milliseconds(1000));
        EXPECT_EQ(result.error, FetchError::BadAddress) << address;
        EXPECT_EQ(result.body, "");
    }
    EXPECT_EQ(run.get("HTTP://" + hostPort + "/ten").body, "0123456789") << "scheme case does not matter";
}

// Catches redirects left unfollowed, a redirect that smuggles a local file
// in, and an endless redirect chain.
TEST_F(HttpClientTest, RedirectsAreFollowedOnlyToWebAddresses) {
    const FetchResult followed = run.get(server.url("/redirect"));
    EXPECT_EQ(followed.body, "0123456789");
    EXPECT_EQ(followed.head.status, 200) << "the final response's head, not the redirect's";
    const FetchResult viaFile = run.get(server.url("/redirect-file"));
    EXPECT_EQ(viaFile.body.find("root:"), std::string::npos);
    EXPECT_NE(viaFile.error, FetchError::None);
    EXPECT_NE(run.get(server.url("/loop")).error, FetchError::None);
}

// Catches a refused connection that hangs or passes for an answer.
TEST(HttpClientRefused, RefusedConnectionIsSaidSo) {
    std::string address;
    {
        test::LoopbackServer gone;
        gone.start();
        address = gone.url("/ten");
    }
    test::FetchRunner run;
    const FetchResult r = run.get(address);
    EXPECT_EQ(r.error, FetchError::Refused);
    EXPECT_FALSE(r.gotHead);
}

// --- Bounds in time ---

// Catches a fetch nobody watches that waits on a silent server, or on a
// head dripping a line a second, past its deadline.
TEST_F(HttpClientTest, DeadlineEndsSilenceAndDrippingHeads) {
    script.on("/silent", Script{{}, false, true});
    Script drip;
    drip.steps.push_back({milliseconds(0), "HTTP/1.1 200 OK\r\n"});
    for (int i = 0; i < 30; ++i) drip.steps.push_back({milliseconds(100), "X-Drip: " + std::to_string(i) + "\r\n"});
    drip.hangAtEnd = true;
    script.on("/drip", drip);

    FetchBounds bounds;
    bounds.deadline = milliseconds(700);
    auto start = Clock::now();
    const FetchResult silent = run.get(script.url("/silent"), bounds);
    EXPECT_EQ(silent.error, FetchError::NoAnswer);
    EXPECT_LT(msSince(start), 5000);

    start = Clock::now();
    const FetchResult dripped = run.get(script.url("/drip"), bounds);
    EXPECT_EQ(dripped.error, FetchError::NoAnswer) << "header lines are not an answer";
    EXPECT_FALSE(dripped.gotHead);
    EXPECT_LT(msSince(start), 5000);
}

// Catches a stall that never ends a body that fell silent, or that throws
// away what came before it.
TEST_F(HttpClientTest, StallEndsASilentBodyKeepingWhatCame) {
    script.on("/stall", Script{{{milliseconds(0), httpHead(200, "text/plain") + "abc"}}, false, true});
    FetchBounds bounds;
    bounds.stall = milliseconds(400);
    const FetchResult r = run.get(script.url("/stall"), bounds);
    EXPECT_EQ(r.error, FetchError::Stalled);
    EXPECT_EQ(r.body, "abc");
    EXPECT_FALSE(r.whole);
}

// Catches a watched download that crawls forever: a byte at a time stays
// under the speed bound and ends, while a steady one above it goes on.
TEST_F(HttpClientTest, SpeedBoundEndsACrawlButNotASteadyBody) {
    Script crawl{{{milliseconds(0), httpHead(200, "text/plain")}, {milliseconds(100), "x"}}, false, false};
    crawl.steps.resize(2);
    Script crawling = crawl;
    crawling.steps = {{milliseconds(0), httpHead(200, "text/plain")}};
    for (int i = 0; i < 40; ++i) crawling.steps.push_back({milliseconds(100), "x"});
    script.on("/crawl", crawling);
    FetchBounds bounds = watchedBounds(1 << 20);
    bounds.speedWindow = milliseconds(1000);
    bounds.minBytesPerWindow = 100;
    FetchResult r = run.get(script.url("/crawl"), bounds);
    EXPECT_EQ(r.error, FetchError::TooSlow);
    EXPECT_FALSE(r.whole);

    r = run.get(server.url("/slow"), bounds);  // 1000 bytes over 270 ms
    EXPECT_EQ(r.error, FetchError::None);
    EXPECT_EQ(r.body.size(), 1000u);
}

// --- Bounds in size ---

// Catches an endless body read until memory runs out, a body past its cap
// handed on as if whole, and a cap that is a stop (a probe) treated as an error.
TEST_F(HttpClientTest, SizeCapsEndEndlessBodies) {
    FetchBounds bounds;
    bounds.maxBytes = 100'000;
    FetchResult r = run.get(server.url("/endless"), bounds);
    EXPECT_EQ(r.error, FetchError::TooLarge);
    EXPECT_FALSE(r.whole);
    EXPECT_TRUE(r.body.empty()) << "nothing of it may be applied";

    bounds.capIsError = false;
    r = run.get(server.url("/endless"), bounds);
    EXPECT_EQ(r.error, FetchError::None);
    EXPECT_TRUE(r.capped);
    EXPECT_FALSE(r.whole);
    EXPECT_EQ(r.body.size(), 100'000u);

    bounds.maxBytes = 10;
    r = run.get(server.url("/ten"), bounds);
    EXPECT_EQ(r.error, FetchError::None) << "exactly the cap is not past it";
    EXPECT_TRUE(r.whole);
}

// Catches a reply nobody reads kept in memory, and a report reply that is
// not cut at its cap.
TEST_F(HttpClientTest, BodiesNobodyWantsAreCountedNotKept) {
    FetchRequest request;
    request.address = server.url("/endless");
    request.bounds = reportBounds();
    request.keepBody = false;
    const FetchResult r = run.get(std::move(request));
    EXPECT_TRUE(r.body.empty());
    EXPECT_EQ(r.bodyBytes, kReportReplyCap);
}

// Catches a lying Content-Length that reserves gigabytes, and a body the
// server broke off that passes for whole.
TEST_F(HttpClientTest, LyingLengthAndBrokenOffBodies) {
    script.on("/liar", Script{{{milliseconds(0),
                                "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: "
                                "900000000000\r\n\r\nonly this"}},
                              false,
                              false});
    const FetchResult liar = run.get(script.url("/liar"));
    EXPECT_EQ(liar.body, "only this");
    EXPECT_EQ(liar.error, FetchError::Broken);
    EXPECT_FALSE(liar.whole);
    EXPECT_LT(liar.body.capacity(), 128u << 20);

    const FetchResult broken = run.get(server.url("/broken-off"));
    EXPECT_EQ(broken.body, "<TRANSLATION_ITEMS>");
    EXPECT_FALSE(broken.whole);
}

// --- Many at once, cancelling, the program's end ---

// Catches fetches that run one after the other (a silent server would hold
// up every other one), and progress that is not reported as the body grows.
TEST_F(HttpClientTest, FetchesRunSideBySideAndReportProgress) {
    script.on("/silent", Script{{}, false, true});
    FetchBounds slowBound;
    slowBound.deadline = milliseconds(3000);
    std::vector<FetchId> silent;
    for (int i = 0; i < 5; ++i) {
        FetchRequest r;
        r.address = script.url("/silent");
        r.bounds = slowBound;
        silent.push_back(run.client.start(std::move(r), [](FetchResult) {}));
    }
    std::vector<std::size_t> progress;
    FetchRequest slow;
    slow.address = server.url("/slow");
    slow.onProgress = [&progress](std::size_t n) { progress.push_back(n); };
    const auto start = Clock::now();
    const FetchResult r = run.get(std::move(slow));
    EXPECT_LT(msSince(start), 2500) << "the silent fetches did not hold it up";
    EXPECT_EQ(r.body.size(), 1000u);
    ASSERT_GE(progress.size(), 2u);
    EXPECT_LT(progress.front(), 1000u);
    EXPECT_EQ(progress.back(), 1000u);
    for (FetchId id : silent) run.client.cancel(id);
    EXPECT_EQ(run.client.active(), 0u);
}

// Catches a cancelled fetch whose result still arrives, or whose connection
// stays open on the server.
TEST_F(HttpClientTest, CancelEndsAFetchAtOnce) {
    bool delivered = false;
    FetchRequest r;
    r.address = server.url("/trickle");
    const FetchId id = run.client.start(std::move(r), [&](FetchResult) { delivered = true; });
    run.loop.runUntil([] { return false; }, milliseconds(200));
    run.client.cancel(id);
    run.client.cancel(id);  // twice is harmless
    run.client.cancel(987654);
    run.loop.runUntil([] { return false; }, milliseconds(200));
    EXPECT_FALSE(delivered);
    EXPECT_EQ(run.client.active(), 0u);
}

// Catches a fetch that outlives the program's end, or one started after it.
TEST_F(HttpClientTest, ShutDownEndsEveryFetchAndStartsNone) {
    bool delivered = false;
    FetchRequest r;
    r.address = server.url("/trickle");
    run.client.start(std::move(r), [&](FetchResult) { delivered = true; });
    run.loop.runUntil([] { return false; }, milliseconds(100));
    run.client.shutDown();
    FetchRequest later;
    later.address = server.url("/ten");
    EXPECT_EQ(run.client.start(std::move(later), [&](FetchResult) { delivered = true; }), 0u);
    run.loop.runUntil([] { return false; }, milliseconds(200));
    EXPECT_FALSE(delivered);
    EXPECT_EQ(run.client.active(), 0u);
}

// Catches an observer's "enough" that does not stop the fetch.
TEST_F(HttpClientTest, ObserversCanStopAFetch) {
    FetchRequest r;
    r.address = server.url("/endless");
    int pieces = 0;
    r.onBody = [&pieces](const std::string&) { return ++pieces < 2; };
    const FetchResult result = run.get(std::move(r));
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(result.error, FetchError::None);
    EXPECT_EQ(pieces, 2);

    FetchRequest head;
    head.address = server.url("/ten");
    head.onHead = [](const ResponseHead& h) { return h.status != 200; };
    const FetchResult stoppedAtHead = run.get(std::move(head));
    EXPECT_TRUE(stoppedAtHead.stopped);
    EXPECT_TRUE(stoppedAtHead.body.empty());
}

}  // namespace
}  // namespace cd::fetch
