#include "intake/rate_limiter.h"

#include <gtest/gtest.h>

namespace cd::server::intake {
namespace {

using std::chrono::milliseconds;
const RateLimiter::Time kStart{std::chrono::seconds(1000)};

int allowedNow(RateLimiter& limiter, const std::string& client, RateLimiter::Time at, int tries) {
    int n = 0;
    for (int i = 0; i < tries; ++i) n += limiter.allow(client, at) ? 1 : 0;
    return n;
}

// Catches a bucket that does not start full (burst of 10 N), refills at the
// wrong rate, or lets one client spend another's tokens.
TEST(RateLimiter, BurstOfTenSecondsThenTheRate) {
    RateLimiter limiter(20);
    EXPECT_EQ(allowedNow(limiter, "10.0.0.1", kStart, 500), 200) << "the burst is ten seconds' worth";
    EXPECT_EQ(allowedNow(limiter, "10.0.0.1", kStart + milliseconds(500), 100), 10) << "20 a second refill";
    EXPECT_EQ(allowedNow(limiter, "10.0.0.2", kStart + milliseconds(500), 500), 200) << "another client is untouched";
    EXPECT_EQ(allowedNow(limiter, "10.0.0.1", kStart + milliseconds(100500), 500), 200) << "refills to the burst only";
    EXPECT_FALSE(limiter.allow("10.0.0.1", kStart)) << "a clock going back gives nothing";
}

// Catches a limit that is on when it should be off.
TEST(RateLimiter, ZeroTurnsItOff) {
    RateLimiter limiter(0);
    EXPECT_EQ(allowedNow(limiter, "10.0.0.1", kStart, 100000), 100000);
    EXPECT_EQ(limiter.clientsTracked(), 0u);
}

// Catches an IPv6 client escaping its limit by changing the low 64 bits of
// its address, and IPv4 clients lumped together.
TEST(RateLimiter, IPv6CountsPerSlash64) {
    EXPECT_EQ(RateLimiter::clientKey("2001:db8:1:2::1"), RateLimiter::clientKey("2001:db8:1:2:ffff::9"));
    EXPECT_NE(RateLimiter::clientKey("2001:db8:1:2::1"), RateLimiter::clientKey("2001:db8:1:3::1"));
    EXPECT_NE(RateLimiter::clientKey("10.0.0.1"), RateLimiter::clientKey("10.0.0.2"));
    RateLimiter limiter(1);
    EXPECT_EQ(allowedNow(limiter, "2001:db8::1", kStart, 5), 5);
    EXPECT_EQ(allowedNow(limiter, "2001:db8::2", kStart, 10), 5);
}

// Catches a table that grows with every address ever seen, and one that,
// when full, forgets the clients that are over their limit first.
TEST(RateLimiter, MemoryIsBoundedAndBusyClientsStayLimited) {
    RateLimiter limiter(1, 100);
    EXPECT_EQ(allowedNow(limiter, "busy", kStart, 50), 10);
    for (int i = 0; i < 10000; ++i)
        limiter.allow("10.1." + std::to_string(i / 256) + "." + std::to_string(i % 256), kStart);
    EXPECT_LE(limiter.clientsTracked(), 100u);
    EXPECT_FALSE(limiter.allow("busy", kStart)) << "the spent bucket was kept";
}

}  // namespace
}  // namespace cd::server::intake
