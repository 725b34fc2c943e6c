// The report intake over real loopback HTTP, on each engine.
#include <gtest/gtest.h>

#include "server_test_support.h"

namespace cd::server::test {
namespace {

using ReportEndpoint = ServerTest;

constexpr std::int64_t kDay = 86400;

// Catches a report the server reads differently from what the program
// meant: the program's escaping undone wrongly, or bytes lost on the way
// into the store. The rankings name what was stored.
TEST_P(ReportEndpoint, RecordsReportsExactlyAsTheProgramSendsThem) {
    const std::string address = "mms://tv.example:8080/a b/live?x=1&y=2#top";
    const std::string name = "Rock & Roll <b>#1</b> Caf\xe9 +100%";
    ASSERT_TRUE(server_->store().publishCatalogue(exportOf({{name, address, "TV", "English"}}), "\"x\"",
                                                  clock_.unixSeconds(), {{name, address, "TV", "English"}}));
    for (const auto& [item, type, value] : std::vector<std::tuple<std::string, std::string, std::string>>{
             {address, "OFFLINE", ""}, {address, "OFFLINE", "\""}, {name, "FAVORITE", ""}, {name, "Rate", "4"}}) {
        const auto r = get(reportTarget(item, type, value));
        ASSERT_TRUE(r);
        EXPECT_EQ(r->status, 200) << r->body;
        EXPECT_EQ(r->body, "OK\n");
    }
    auto& store = server_->store();
    EXPECT_EQ(store.totals()->all(), 3) << "the two OFFLINE reports are one report of the day";
    const auto offline = store.offlineRanking(clock_.unixSeconds() - kDay, 10);
    ASSERT_EQ(offline->size(), 1u);
    EXPECT_EQ((*offline)[0].address, address);
    ASSERT_EQ(store.favouriteRanking(10)->size(), 1u);
    const auto ratings = store.ratingRanking(10);
    ASSERT_EQ(ratings->size(), 1u);
    EXPECT_EQ((*ratings)[0].name, name);
    EXPECT_EQ((*ratings)[0].stars, 4);
}

// Catches a day taken from the wrong clock or time zone, and a repeat on
// the same day counted again.
TEST_P(ReportEndpoint, CountsOncePerClientTypeItemAndDayAcrossMidnight) {
    clock_.setUnixSeconds(20000 * kDay + kDay - 1);  // 23:59:59 UTC
    const std::string target = reportTarget("Fox TV", "FAVORITE", "");
    for (int i = 0; i < 3; ++i) EXPECT_EQ(get(target)->status, 200);
    EXPECT_EQ(get(target, {}, "127.0.0.2")->status, 200) << "another client address";
    EXPECT_EQ(server_->store().totals()->favorite, 2);
    clock_.setUnixSeconds(20000 * kDay + kDay);  // 00:00:00 the next day
    for (int i = 0; i < 3; ++i) EXPECT_EQ(get(target)->status, 200);
    EXPECT_EQ(server_->store().totals()->favorite, 3);
}

// Catches a limit that stores what it refuses, limits all clients as one,
// or never lets a client back in.
TEST_P(ReportEndpoint, OverTheRateLimitAnswers429AndStoresNothing) {
    startServer(1);  // one a second, bursts of ten
    for (int i = 0; i < 10; ++i) ASSERT_EQ(get(reportTarget("ch" + std::to_string(i), "FAVORITE", ""))->status, 200);
    const auto refused = get(reportTarget("one too many", "FAVORITE", ""));
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->status, 429);
    EXPECT_EQ(refused->get_header_value("retry-after"), "1");
    EXPECT_EQ(get(reportTarget("one too many", "FAVORITE", ""))->status, 429);
    EXPECT_EQ(server_->store().totals()->favorite, 10);
    EXPECT_EQ(get(reportTarget("from elsewhere", "FAVORITE", ""), {}, "127.0.0.3")->status, 200);
    clock_.advance(std::chrono::milliseconds(1000));
    EXPECT_EQ(get(reportTarget("one too many", "FAVORITE", ""))->status, 200);
    EXPECT_EQ(server_->store().totals()->favorite, 12);
}

// Catches hostile reports stored (markup, SQL, over-long, broken encoding,
// unknown types) or one of them taking the server down.
TEST_P(ReportEndpoint, HostileReportsAreRefusedAndNothingIsStored) {
    const std::vector<std::string> refused = {
        reportTarget(std::string(2049, 'x'), "FAVORITE", ""),
        reportTarget("x", "DROP TABLE reports", ""),
        reportTarget("x", "Rate", "9"),
        "/webtv/getData.asp?strType=Rate&strValue=5&strItem=%zz",
        "/webtv/getData.asp?strType=Rate&strValue=5&strItem=%E",
        "/webtv/getData.asp?strType=Rate&strValue=5&strItem=Tom&Jerry",
        "/webtv/getData.asp?strType=Rate&strValue=5&strItem=a%00b",
        "/webtv/getData.asp?strType=Rate&strValue=5",
        "/webtv/getData.asp",
    };
    for (const auto& target : refused) {
        const auto r = get(target);
        ASSERT_TRUE(r) << target.substr(0, 80);
        EXPECT_EQ(r->status, 400) << target.substr(0, 80);
        EXPECT_NE(r->body.find("not recorded"), std::string::npos);
    }
    EXPECT_EQ(get("/webtv/getData.asp?" + std::string(40000, 'a'))->status, 431);
    EXPECT_EQ(server_->store().totals()->all(), 0);
    // Hostile but well-formed items are just items, stored as sent.
    for (const auto& item :
         {std::string("<script>alert(1)</script>"), std::string("'; DROP TABLE reports; --"), std::string(2048, '/')})
        EXPECT_EQ(get(reportTarget(item, "OFFLINE", ""))->status, 200);
    EXPECT_EQ(server_->store().totals()->offline, 3);
    EXPECT_EQ(server_->client()->Post("/webtv/getData.asp", "x", "text/plain")->status, 405);
    EXPECT_EQ(server_->client()->Head(reportTarget("by HEAD", "FAVORITE", "").c_str())->status, 405);
    EXPECT_EQ(server_->store().totals()->all(), 3);
}

INSTANTIATE_TEST_SUITE_P(Engines, ReportEndpoint, testing::ValuesIn(engines()), engineName);

}  // namespace
}  // namespace cd::server::test
