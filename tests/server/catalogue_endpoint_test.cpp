// Publishing and serving Data.htm, and the fixed files, over real loopback
// HTTP on each engine.
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <set>
#include <thread>

#include "http/http_date.h"
#include "publish/publisher.h"
#include "server_test_support.h"

namespace cd::server::test {
namespace {

using CatalogueEndpoint = ServerTest;

const std::vector<storage::CatalogueRecord> kFirst = {{"Fox TV", "http://tv.example/fox", "TV", "English"},
                                                      {"Radio 1", "mms://radio.example/1", "Radio", "German"}};
const std::vector<storage::CatalogueRecord> kSecond = {{"Only One", "http://tv.example/one", "TV", "French"}};

httplib::Result put(InProcessServer& server, const std::string& body, const std::string& token) {
    httplib::Headers headers;
    if (!token.empty()) headers.emplace("Authorization", "Bearer " + token);
    return server.client()->Put("/webtv/Data.htm", headers, body, "text/html");
}

// Catches a publish that skips the owner's token, takes a damaged file and
// loses the catalogue in service, or serves other bytes than were uploaded.
TEST_P(CatalogueEndpoint, PublishesOnlyGoodFilesFromTheOwner) {
    EXPECT_EQ(get("/webtv/Data.htm")->status, 404) << "nothing published yet";
    const std::string good = exportOf(kFirst);
    const std::string token = server_->token();
    EXPECT_EQ(put(*server_, good, "")->status, 401);
    EXPECT_EQ(put(*server_, good, token + "0")->status, 401);
    EXPECT_EQ(put(*server_, good, token.substr(0, token.size() - 1) + (token.back() == 'a' ? "b" : "a"))->status, 401);
    EXPECT_EQ(get("/webtv/Data.htm")->status, 404);

    const auto published = put(*server_, good, token);
    ASSERT_TRUE(published);
    EXPECT_EQ(published->status, 200) << published->body;
    EXPECT_NE(published->body.find("2 records"), std::string::npos) << published->body;
    for (const std::string& junk : {std::string("<html>Not Found</html>"), std::string("<data>\r\n</data>\r\n"),
                                    good.substr(0, good.size() / 2)}) {
        const auto r = put(*server_, junk, token);
        EXPECT_EQ(r->status, 400) << junk.substr(0, 40);
        EXPECT_NE(r->body.find("Not published"), std::string::npos);
    }
    const auto served = get("/webtv/Data.htm");
    ASSERT_EQ(served->status, 200);
    EXPECT_EQ(served->body, good) << "the good catalogue stays in service";
    EXPECT_EQ(served->get_header_value("etag"), publish::catalogueEtag(good));
    EXPECT_EQ(server_->client()->Delete("/webtv/Data.htm")->status, 405);
}

// Catches a 304 given for another copy, no 304 for the current one, the
// dates compared the wrong way, or If-None-Match not taking precedence.
TEST_P(CatalogueEndpoint, ConditionalRequestsGet304ForTheCurrentCopy) {
    ASSERT_EQ(put(*server_, exportOf(kFirst), server_->token())->status, 200);
    const auto full = get("/webtv/Data.htm");
    ASSERT_EQ(full->status, 200);
    const std::string etag = full->get_header_value("etag");
    const std::string lastModified = full->get_header_value("last-modified");
    ASSERT_EQ(http::parseHttpDate(lastModified), clock_.unixSeconds());
    const std::string before = http::formatHttpDate(clock_.unixSeconds() - 1);
    const std::string after = http::formatHttpDate(clock_.unixSeconds() + 60);

    const std::vector<std::pair<httplib::Headers, int>> cases = {
        {{{"If-None-Match", etag}}, 304},
        {{{"If-None-Match", "W/" + etag}}, 304},
        {{{"If-None-Match", "\"other\", " + etag}}, 304},
        {{{"If-None-Match", "*"}}, 304},
        {{{"If-None-Match", "\"other\""}}, 200},
        {{{"If-Modified-Since", lastModified}}, 304},
        {{{"If-Modified-Since", after}}, 304},
        {{{"If-Modified-Since", before}}, 200},
        {{{"If-Modified-Since", "not a date"}}, 200},
        {{{"If-None-Match", "\"other\""}, {"If-Modified-Since", after}}, 200},
    };
    for (const auto& [headers, status] : cases) {
        const auto r = get("/webtv/Data.htm", headers);
        ASSERT_TRUE(r);
        EXPECT_EQ(r->status, status) << headers.begin()->first << ": " << headers.begin()->second;
        if (status == 304) {
            EXPECT_TRUE(r->body.empty());
            EXPECT_EQ(r->get_header_value("etag"), etag);
        }
    }
    clock_.advance(std::chrono::milliseconds(5000));
    ASSERT_EQ(put(*server_, exportOf(kSecond), server_->token())->status, 200);
    const auto changed = get("/webtv/Data.htm", {{"If-None-Match", etag}, {"If-Modified-Since", lastModified}});
    EXPECT_EQ(changed->status, 200) << "a new catalogue is sent to a client holding the old one";
    EXPECT_EQ(changed->body, exportOf(kSecond));
    const auto head = server_->client()->Head("/webtv/Data.htm");
    EXPECT_EQ(head->status, 200);
    EXPECT_TRUE(head->body.empty());
    EXPECT_EQ(head->get_header_value("content-length"), std::to_string(exportOf(kSecond).size()));
}

// Catches a reader that gets half of one catalogue and half of another, or
// an ETag that does not belong to the body it came with, while publishes
// replace the catalogue again and again.
TEST_P(CatalogueEndpoint, ReadersSeeOneWholeCatalogueDuringPublishes) {
    std::vector<std::string> bodies;
    for (int v = 0; v < 6; ++v) {
        std::vector<storage::CatalogueRecord> records;
        for (int i = 0; i < 2000; ++i)
            records.push_back({"Channel " + std::to_string(v) + "-" + std::to_string(i),
                               "http://x/" + std::to_string(i), "TV", "English"});
        bodies.push_back(exportOf(records));
    }
    const std::string token = server_->token();
    ASSERT_EQ(put(*server_, bodies[0], token)->status, 200);
    std::atomic<bool> done{false};
    std::atomic<int> reads{0}, bad{0};
    std::vector<std::thread> readers;
    for (int t = 0; t < 3; ++t) {
        readers.emplace_back([&] {
            auto client = server_->client();
            while (!done) {
                const auto r = client->Get("/webtv/Data.htm");
                ++reads;
                if (!r || r->status != 200 || std::find(bodies.begin(), bodies.end(), r->body) == bodies.end() ||
                    r->get_header_value("etag") != publish::catalogueEtag(r->body))
                    ++bad;
            }
        });
    }
    for (int round = 0; round < 3; ++round)
        for (std::size_t v = 1; v < bodies.size(); ++v) ASSERT_EQ(put(*server_, bodies[v], token)->status, 200);
    done = true;
    for (auto& t : readers) t.join();
    EXPECT_GT(reads.load(), 10);
    EXPECT_EQ(bad.load(), 0);
    EXPECT_EQ(get("/webtv/Data.htm")->body, bodies.back());
}

// Catches a file served from a path the request made up (traversal,
// encoded dots, a file outside the table), or a table that grows with what
// is put in the folder later.
TEST_P(CatalogueEndpoint, ServesOnlyTheFixedFiles) {
    const auto banner = get("/banner.html");
    ASSERT_EQ(banner->status, 200);
    EXPECT_EQ(banner->body, "<p>banner</p>");
    EXPECT_EQ(get("/Languages/26/Localization.txt")->body, "<language name=\"English\">");
    std::filesystem::create_directories(server_->dataDir() / "Languages" / "27");
    std::ofstream(server_->dataDir() / "Languages" / "27" / "Localization.txt") << "later";
    for (const std::string path :
         {"/secret.txt", "/Languages/27/Localization.txt", "/Languages/../secret.txt", "/banner.html/../secret.txt",
          "/Languages/%2e%2e/secret.txt", "/Languages/26/../../secret.txt", "/Languages/26/Localization.txt/",
          "/channeldeck-server.db", "/LANGUAGES/26/Localization.txt", "//banner.html", "/"}) {
        const auto r = get(path);
        ASSERT_TRUE(r);
        EXPECT_EQ(r->status, 404) << path;
        EXPECT_EQ(r->body.find("not served"), std::string::npos) << path;
    }
    std::filesystem::remove(server_->dataDir() / "banner.html");
    EXPECT_EQ(get("/banner.html")->status, 404) << "a file removed is not found, not an error";
}

INSTANTIATE_TEST_SUITE_P(Engines, CatalogueEndpoint, testing::ValuesIn(engines()), engineName);

}  // namespace
}  // namespace cd::server::test
