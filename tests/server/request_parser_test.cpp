#include "http/request_parser.h"

#include <gtest/gtest.h>

#include "http/http_date.h"

namespace cd::server::http {
namespace {

HeadResult parse(std::string_view text, Request& r, HeadLimits limits = {}) {
    std::size_t scanned = 0;
    return parseHead(text, scanned, r, limits);
}

// Catches a head read wrongly when it arrives in pieces, or a body taken
// as part of the head.
TEST(RequestParser, ReadsAHeadThatArrivesInPieces) {
    const std::string text =
        "GET /webtv/getData.asp?strType=Rate&strValue=5&strItem=Fox%20TV HTTP/1.1\r\n"
        "Host: 127.0.0.1:8080\r\nUser-Agent: Mozilla\r\nContent-Length: 3\r\n\r\nabc";
    Request r;
    std::size_t scanned = 0;
    for (std::size_t n = 1; n < text.size() - 3; ++n) {
        const auto partial = parseHead(std::string_view(text).substr(0, n), scanned, r, {});
        ASSERT_EQ(partial.state, HeadResult::State::NeedMore) << n;
    }
    const auto done = parseHead(text, scanned, r, {});
    ASSERT_EQ(done.state, HeadResult::State::Done);
    EXPECT_EQ(done.headLength, text.size() - 3);
    EXPECT_EQ(done.contentLength, 3u);
    EXPECT_EQ(r.method, "GET");
    EXPECT_EQ(r.path, "/webtv/getData.asp");
    EXPECT_EQ(r.query, "strType=Rate&strValue=5&strItem=Fox%20TV");
    ASSERT_NE(r.header("user-agent"), nullptr);
    EXPECT_EQ(*r.header("user-agent"), "Mozilla");
    EXPECT_TRUE(r.keepAlive);
}

// Catches keep-alive decided against the version's default.
TEST(RequestParser, ConnectionFollowsTheVersion) {
    Request r;
    ASSERT_EQ(parse("GET / HTTP/1.1\r\nHost: h\r\nConnection: Close\r\n\r\n", r).state, HeadResult::State::Done);
    EXPECT_FALSE(r.keepAlive);
    ASSERT_EQ(parse("GET / HTTP/1.0\r\n\r\n", r).state, HeadResult::State::Done);
    EXPECT_FALSE(r.keepAlive);
    ASSERT_EQ(parse("GET / HTTP/1.0\r\nConnection: keep-alive\r\n\r\n", r).state, HeadResult::State::Done);
    EXPECT_TRUE(r.keepAlive);
}

// Catches heads a lenient reader would take one way and a proxy another
// (request smuggling), or that make the server hold unbounded memory.
TEST(RequestParser, RefusesAmbiguousAndOversizedHeads) {
    const std::vector<std::pair<std::string, int>> cases = {
        {"GET /a b HTTP/1.1\r\nHost: h\r\n\r\n", 400},
        {"GET http://h/ HTTP/1.1\r\nHost: h\r\n\r\n", 400},
        {"GET /\xe9 HTTP/1.1\r\nHost: h\r\n\r\n", 400},
        {"GET /#x HTTP/1.1\r\nHost: h\r\n\r\n", 400},
        {"GET / HTTP/2.0\r\nHost: h\r\n\r\n", 505},
        {"GET / FTP/1.0\r\nHost: h\r\n\r\n", 400},
        {"get / HTTP/1.1\r\nHost: h\r\n\r\n", 400},
        {"GET / HTTP/1.1\r\n\r\n", 400},
        {"GET / HTTP/1.1\r\nHost: h\r\nHost: i\r\n\r\n", 400},
        {"GET / HTTP/1.1\r\nHost: h\r\nX: a\r\n  folded\r\n\r\n", 400},
        {"GET / HTTP/1.1\r\nHost: h\r\nBad Name: x\r\n\r\n", 400},
        {"GET / HTTP/1.1\r\nHost: h\r\nContent-Length: 1\r\nContent-Length: 1\r\n\r\n", 400},
        {"GET / HTTP/1.1\r\nHost: h\r\nContent-Length: -1\r\n\r\n", 400},
        {"GET / HTTP/1.1\r\nHost: h\r\nContent-Length: 1e3\r\n\r\n", 400},
        {"PUT / HTTP/1.1\r\nHost: h\r\nTransfer-Encoding: chunked\r\n\r\n", 501},
        {"PUT / HTTP/1.1\r\nHost: h\r\nTransfer-Encoding: chunked\r\nContent-Length: 3\r\n\r\n", 400},
        {"GET / HTTP/1.1\r\nHost: h\r\nX: a\rb\r\n\r\n", 400},
        {"GET / HTTP/1.1\r\nHost: h\r\nExpect: something\r\n\r\n", 417},
        {std::string("GET / HTTP/1.1\r\nHost: h\r\nX: a\0b\r\n\r\n", 35), 400},
    };
    for (const auto& [text, status] : cases) {
        Request r;
        const auto result = parse(text, r);
        EXPECT_EQ(result.state, HeadResult::State::Error) << text;
        EXPECT_EQ(result.status, status) << text;
    }
    Request junk;
    EXPECT_EQ(parse("\x16\x03\x01", junk).status, 400) << "junk is refused before a head could end";
    EXPECT_EQ(parse("GE", junk).state, HeadResult::State::NeedMore);
    HeadLimits small;
    small.maxHeadBytes = 64;
    small.maxHeaders = 2;
    Request r;
    EXPECT_EQ(parse("GET /" + std::string(100, 'a'), r, small).status, 431) << "no end in sight";
    EXPECT_EQ(parse("GET / HTTP/1.1\r\nHost: h\r\nA: 1\r\nB: 2\r\n\r\n", r, small).status, 431);
}

// Catches a date off by a day or a month, a wrong weekday, or a conditional
// request with a malformed date treated as a match.
TEST(HttpDate, FormatsAndReadsTheThreeForms) {
    EXPECT_EQ(formatHttpDate(784111777), "Sun, 06 Nov 1994 08:49:37 GMT");
    EXPECT_EQ(formatHttpDate(0), "Thu, 01 Jan 1970 00:00:00 GMT");
    EXPECT_EQ(formatHttpDate(951782400), "Tue, 29 Feb 2000 00:00:00 GMT");
    EXPECT_EQ(parseHttpDate("Sun, 06 Nov 1994 08:49:37 GMT"), 784111777);
    EXPECT_EQ(parseHttpDate("Sunday, 06-Nov-94 08:49:37 GMT"), 784111777);
    EXPECT_EQ(parseHttpDate("Sun Nov  6 08:49:37 1994"), 784111777);
    for (std::int64_t t : {0LL, 1700000000LL, 4102444799LL}) EXPECT_EQ(parseHttpDate(formatHttpDate(t)), t);
    EXPECT_FALSE(parseHttpDate("yesterday"));
    EXPECT_FALSE(parseHttpDate("Sun, 06 Nov 1994 08:49:37 CET"));
    EXPECT_FALSE(parseHttpDate("Sun, 06 Xyz 1994 08:49:37 GMT"));
    EXPECT_FALSE(parseHttpDate("Sun, 06 Nov 1994 25:49:37 GMT"));
    EXPECT_FALSE(parseHttpDate(""));
}

}  // namespace
}  // namespace cd::server::http
