// The owner's page and its JSON over real loopback HTTP, on each engine.
#include <gtest/gtest.h>

#include "owner/owner_token.h"
#include "server_test_support.h"

namespace cd::server::test {
namespace {

using OwnerEndpoint = ServerTest;

httplib::Headers bearer(const std::string& token) { return {{"Authorization", "Bearer " + token}}; }

// Catches an owner page shown without the token, a token accepted when
// only nearly right, and a login cookie that is not set, not honoured or not
// cleared.
TEST_P(OwnerEndpoint, EveryOwnerAnswerNeedsTheToken) {
    const std::string token = server_->token();
    ASSERT_EQ(token.size(), 64u);
    const auto anonymous = get("/owner");
    ASSERT_TRUE(anonymous);
    EXPECT_EQ(anonymous->status, 401);
    EXPECT_NE(anonymous->body.find("action=\"/owner/login\""), std::string::npos) << "the login form";
    EXPECT_EQ(anonymous->body.find("Catalogue reports"), std::string::npos);
    for (const std::string& wrong : {std::string(), token.substr(1), token + "x", std::string(64, '0'),
                                     token.substr(0, 63) + (token[63] == '0' ? "1" : "0")}) {
        EXPECT_EQ(get("/owner", bearer(wrong))->status, 401) << wrong;
        EXPECT_EQ(get("/owner/api/rankings", bearer(wrong))->status, 401) << wrong;
        EXPECT_EQ(get("/owner", {{"Cookie", "cd_owner=" + wrong}})->status, 401) << wrong;
    }
    EXPECT_EQ(get("/owner", bearer(token))->status, 200);
    const auto api = get("/owner/api/summary", bearer(token));
    EXPECT_EQ(api->status, 200);
    EXPECT_EQ(api->get_header_value("content-type"), "application/json");
    EXPECT_EQ(get("/owner/api/nothing", bearer(token))->status, 404);
    EXPECT_EQ(get("/owner/api/rankings?limit=0", bearer(token))->status, 400);

    auto client = server_->client();
    EXPECT_EQ(client->Post("/owner/login", "token=" + token + "x", "application/x-www-form-urlencoded")->status, 401);
    const auto login = client->Post("/owner/login", "token=" + token, "application/x-www-form-urlencoded");
    ASSERT_TRUE(login);
    EXPECT_EQ(login->status, 303);
    EXPECT_EQ(login->get_header_value("location"), "/owner");
    const std::string cookie = login->get_header_value("set-cookie");
    EXPECT_NE(cookie.find("HttpOnly"), std::string::npos);
    EXPECT_NE(cookie.find("SameSite=Strict"), std::string::npos);
    const std::string pair = cookie.substr(0, cookie.find(';'));
    const auto page = get("/owner", {{"Cookie", "theme=dark; " + pair}});
    EXPECT_EQ(page->status, 200);
    EXPECT_EQ(page->get_header_value("cache-control"), "no-store");
    const auto logout = client->Post("/owner/logout", "", "application/x-www-form-urlencoded");
    EXPECT_NE(logout->get_header_value("set-cookie").find("Max-Age=0"), std::string::npos);
    EXPECT_EQ(get("/webtv/getData.asp", bearer(token))->status, 400) << "the token opens nothing else";

    // A renewed token replaces the old one once the server has read it.
    const auto renewed = owner::ensureToken(server_->store(), true);
    ASSERT_TRUE(renewed);
    bool switched = false;
    for (int i = 0; i < 40 && !switched; ++i) {
        switched = get("/owner", bearer(*renewed))->status == 200;
        if (!switched) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_TRUE(switched);
    EXPECT_EQ(get("/owner", bearer(token))->status, 401);
}

// Catches catalogue text reaching the page or the JSON as markup, and
// rankings that do not follow the distinct client addresses.
TEST_P(OwnerEndpoint, PageRanksTheCatalogueAndEscapesEveryValue) {
    const std::string evilName = "<script>alert(\"x\")</script> & 'Co'";
    const std::string evilAddress = "javascript:\"'><img src=x onerror=alert(1)>";
    const std::vector<storage::CatalogueRecord> records = {{evilName, evilAddress, "<b>TV</b>", "English"},
                                                           {"Quiet", "http://quiet/", "TV", "English"},
                                                           {"Caf\xe9 Radio", "http://cafe/", "Radio", "French"}};
    ASSERT_TRUE(server_->store().publishCatalogue(exportOf(records), "\"e\"", clock_.unixSeconds(), records));
    for (int c = 2; c <= 4; ++c)
        ASSERT_EQ(get(reportTarget(evilAddress, "OFFLINE", ""), {}, "127.0.0." + std::to_string(c))->status, 200);
    ASSERT_EQ(get(reportTarget("http://cafe/", "OFFLINE", ""), {}, "127.0.0.2")->status, 200);
    ASSERT_EQ(get(reportTarget("http://cafe/", "OFFLINE", "\""), {}, "127.0.0.2")->status, 200);
    ASSERT_EQ(get(reportTarget("Caf\xe9 Radio", "Rate", "5"), {}, "127.0.0.2")->status, 200);
    ASSERT_EQ(get(reportTarget(evilName, "Rate", "2"), {}, "127.0.0.2")->status, 200);
    ASSERT_EQ(get(reportTarget(evilName, "FAVORITE", ""), {}, "127.0.0.5")->status, 200);

    const std::string token = server_->token();
    const auto page = get("/owner", bearer(token));
    ASSERT_EQ(page->status, 200);
    const std::string& html = page->body;
    EXPECT_EQ(html.find("<script"), std::string::npos);
    EXPECT_EQ(html.find("<img"), std::string::npos);
    EXPECT_EQ(html.find("<b>TV"), std::string::npos);
    EXPECT_NE(html.find("&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt; &amp; &#39;Co&#39;"), std::string::npos);
    EXPECT_NE(html.find("&lt;img src=x onerror=alert(1)&gt;"), std::string::npos);
    EXPECT_NE(html.find("Caf\xc3\xa9 Radio"), std::string::npos) << "code-page text shown as UTF-8";
    EXPECT_EQ(html.find("Quiet"), std::string::npos) << "no reports, no row";
    const auto evilRow = html.find("&lt;script");
    const auto cafeRow = html.find("Caf\xc3\xa9 Radio");
    EXPECT_LT(evilRow, cafeRow) << "three reporters rank above one";
    EXPECT_NE(page->get_header_value("content-security-policy").find("default-src 'none'"), std::string::npos);

    const auto json = get("/owner/api/rankings", bearer(token));
    ASSERT_EQ(json->status, 200);
    EXPECT_EQ(json->body.find("<"), std::string::npos);
    EXPECT_NE(json->body.find("\\u003cscript\\u003ealert(\\\"x\\\")"), std::string::npos) << json->body;
    EXPECT_NE(json->body.find("\"clients\": 3"), std::string::npos);
    EXPECT_NE(json->body.find("\"average\": 5.0000"), std::string::npos);
    EXPECT_LT(
        json->body.find("Caf\xc3\xa9 Radio\", \"address\": \"http://cafe/\", \"category\": \"Radio\", \"raters\""),
        json->body.find("\"raters\": 1, \"average\": 2.0000"))
        << "best rated first";
    const auto summary = get("/owner/api/summary", bearer(token));
    EXPECT_NE(summary->body.find("\"OFFLINE\": 4, \"FAVORITE\": 1, \"Rate\": 2, \"all\": 7"), std::string::npos)
        << summary->body;
}

INSTANTIATE_TEST_SUITE_P(Engines, OwnerEndpoint, testing::ValuesIn(engines()), engineName);

// Catches a comparison that ends at the first differing byte or at the
// shorter length, or lets an empty stored token match an empty one.
TEST(OwnerToken, ComparesWholeTokens) {
    EXPECT_TRUE(owner::tokensEqual("abc", "abc"));
    EXPECT_FALSE(owner::tokensEqual("abc", "abd"));
    EXPECT_FALSE(owner::tokensEqual("abc", "xbc"));
    EXPECT_FALSE(owner::tokensEqual("abc", "ab"));
    EXPECT_FALSE(owner::tokensEqual("abc", "abcd"));
    EXPECT_FALSE(owner::tokensEqual("abc", std::string("abc\0", 4)));
    EXPECT_FALSE(owner::tokensEqual("", ""));
    const std::string a = owner::newToken(), b = owner::newToken();
    EXPECT_EQ(a.size(), 64u);
    EXPECT_NE(a, b);
}

}  // namespace
}  // namespace cd::server::test
