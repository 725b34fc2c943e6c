#include "storage/report_store.h"

#include <gtest/gtest.h>

#include <thread>

#include "server_test_support.h"
#include "storage/open_store.h"

namespace cd::server::storage {
namespace {

constexpr std::int64_t kDay = 86400;
constexpr std::int64_t kNow = 20000 * kDay + 43200;  // noon UTC

class ReportStoreTest : public testing::TestWithParam<test::Engine> {
protected:
    void SetUp() override {
        setup_ = test::storeSetupFor(GetParam());
        if (!setup_.skipReason.empty()) GTEST_SKIP() << "PostgreSQL cannot run here: " << setup_.skipReason;
        store_ = open();
        ASSERT_TRUE(store_);
    }
    std::unique_ptr<ReportStore> open() {
        std::string error;
        auto s = openStore({dir_.path(), setup_.url, true}, &error);
        EXPECT_TRUE(s) << error;
        return s;
    }
    static StoredReport report(std::string type, std::string item, std::string client, std::int64_t at,
                               std::string value = "") {
        return {std::move(type), std::move(value), std::move(item), std::move(client), at / kDay, at};
    }
    void publish(const std::vector<CatalogueRecord>& records) {
        ASSERT_TRUE(store_->publishCatalogue(test::exportOf(records), "\"e\"", kNow, records)) << store_->lastError();
    }

    cd::test::TempDir dir_;
    test::StoreSetup setup_;
    std::unique_ptr<ReportStore> store_;
};

// Catches a report counted twice in one day, a day boundary that merges
// two days, or a batch with a duplicate inside that fails as a whole.
TEST_P(ReportStoreTest, OneReportPerClientTypeItemAndDay) {
    const std::int64_t lastSecond = 20000 * kDay + kDay - 1;
    ASSERT_TRUE(store_->recordReports({report("FAVORITE", "Fox", "10.0.0.1", lastSecond),
                                       report("FAVORITE", "Fox", "10.0.0.1", lastSecond),
                                       report("Rate", "Fox", "10.0.0.1", lastSecond, "4")}));
    ASSERT_TRUE(store_->recordReports({report("FAVORITE", "Fox", "10.0.0.1", lastSecond - 100)}));
    EXPECT_EQ(store_->totals()->favorite, 1);
    ASSERT_TRUE(store_->recordReports({report("FAVORITE", "Fox", "10.0.0.1", lastSecond + 1),
                                       report("FAVORITE", "Fox", "10.0.0.2", lastSecond),
                                       report("FAVORITE", "fox", "10.0.0.1", lastSecond)}));
    const auto totals = store_->totals();
    EXPECT_EQ(totals->favorite, 4) << "next day, another client, another item: three more";
    EXPECT_EQ(totals->rate, 1);
    EXPECT_EQ(totals->offline, 0);
}

// Catches items that lose bytes on the way into either engine (code-page
// bytes, quotes, SQL text bound as statement text) and large batches split
// wrongly across statements.
TEST_P(ReportStoreTest, ItemsAreKeptByteForByteInLargeBatches) {
    std::vector<StoredReport> batch;
    const std::string hostile = "Robert'); DROP TABLE reports;-- \"\xe9\xff\x80\\%_*";
    for (int i = 0; i < 1000; ++i) batch.push_back(report("OFFLINE", hostile + std::to_string(i), "10.0.0.9", kNow));
    batch.push_back(batch.front());
    ASSERT_TRUE(store_->recordReports(batch)) << store_->lastError();
    EXPECT_EQ(store_->totals()->offline, 1000);
    publish({{"Hostile", hostile + "7", "TV", "English"}});
    const auto ranking = store_->offlineRanking(kNow - kDay, 10);
    ASSERT_TRUE(ranking);
    ASSERT_EQ(ranking->size(), 1u);
    EXPECT_EQ((*ranking)[0].address, hostile + "7");
    EXPECT_EQ((*ranking)[0].reporters, 1);
}

// Catches rankings counting reports instead of distinct clients, windows
// that include older reports, channels outside the catalogue listed, ties
// in a changing order, and an average taken over every rating instead of
// each client's latest.
TEST_P(ReportStoreTest, RankingsCountDistinctClientsOfThePublishedCatalogue) {
    publish({{"Alpha", "http://a/", "TV", "English"},
             {"Beta", "http://b/", "Radio", "German"},
             {"Gamma", "http://c/", "TV", "English"},
             {"Alpha again", "http://a/", "TV", "English"}});
    std::vector<StoredReport> batch;
    auto offline = [&](const std::string& addr, const std::string& client, std::int64_t daysAgo) {
        batch.push_back(report("OFFLINE", addr, client, kNow - daysAgo * kDay - 60));
    };
    offline("http://b/", "1", 0), offline("http://b/", "2", 0), offline("http://b/", "1", 1);
    offline("http://a/", "1", 0), offline("http://a/", "3", 3), offline("http://a/", "4", 3),
        offline("http://a/", "5", 3);
    offline("http://c/", "1", 20), offline("http://c/", "2", 20), offline("http://c/", "3", 20),
        offline("http://c/", "4", 20), offline("http://c/", "5", 20);
    offline("http://not-in-catalogue/", "9", 0);
    batch.push_back(report("FAVORITE", "Gamma", "1", kNow));
    batch.push_back(report("FAVORITE", "Gamma", "2", kNow));
    batch.push_back(report("FAVORITE", "Beta", "1", kNow));
    batch.push_back(report("FAVORITE", "Nobody", "1", kNow));
    batch.push_back(report("Rate", "Beta", "1", kNow - 2 * kDay, "1"));
    batch.push_back(report("Rate", "Beta", "1", kNow, "5"));  // the latest counts
    batch.push_back(report("Rate", "Beta", "2", kNow, "4"));
    batch.push_back(report("Rate", "Alpha", "1", kNow, "5"));
    batch.push_back(report("Rate", "Gamma", "1", kNow, "2"));
    ASSERT_TRUE(store_->recordReports(batch)) << store_->lastError();

    auto names = [](const std::optional<std::vector<RankedChannel>>& r) {
        std::vector<std::pair<std::string, std::int64_t>> out;
        for (const auto& c : *r) out.emplace_back(c.name, c.reporters);
        return out;
    };
    using Row = std::vector<std::pair<std::string, std::int64_t>>;
    EXPECT_EQ(names(store_->offlineRanking(kNow - kDay, 10)), (Row{{"Beta", 2}, {"Alpha", 1}}));
    EXPECT_EQ(names(store_->offlineRanking(kNow - 7 * kDay, 10)), (Row{{"Alpha", 4}, {"Beta", 2}}));
    EXPECT_EQ(names(store_->offlineRanking(kNow - 30 * kDay, 10)), (Row{{"Gamma", 5}, {"Alpha", 4}, {"Beta", 2}}));
    EXPECT_EQ(names(store_->offlineRanking(kNow - 30 * kDay, 1)), (Row{{"Gamma", 5}}));
    EXPECT_EQ(names(store_->favouriteRanking(10)), (Row{{"Gamma", 2}, {"Beta", 1}}));
    const auto ratings = store_->ratingRanking(10);
    ASSERT_TRUE(ratings);
    EXPECT_EQ(names(ratings), (Row{{"Alpha", 1}, {"Beta", 2}, {"Gamma", 1}}));
    EXPECT_EQ((*ratings)[1].stars, 9) << "Beta: 5 (client 1's latest) + 4";
    EXPECT_EQ((*ratings)[1].category, "Radio");
}

// Catches a publish that leaves channels of the old catalogue behind,
// versions that do not advance, and a catalogue body altered in storage.
TEST_P(ReportStoreTest, PublishReplacesTheCatalogueWhole) {
    EXPECT_EQ(store_->catalogueVersion(), 0);
    EXPECT_EQ(store_->loadCatalogue()->version, 0);
    publish({{"Old", "http://old/", "TV", "English"}});
    ASSERT_TRUE(store_->recordReports({report("FAVORITE", "Old", "1", kNow), report("FAVORITE", "New", "1", kNow)}));
    EXPECT_EQ(store_->favouriteRanking(10)->size(), 1u);
    const std::vector<CatalogueRecord> next = {{"New", "http://new/", "TV", "English"}};
    const std::string body = test::exportOf(next);
    ASSERT_EQ(store_->publishCatalogue(body, "\"n\"", kNow + 5, next), 2);
    const auto snapshot = store_->loadCatalogue();
    EXPECT_EQ(snapshot->version, 2);
    EXPECT_EQ(*snapshot->body, body);
    EXPECT_EQ(snapshot->etag, "\"n\"");
    EXPECT_EQ(snapshot->publishedAt, kNow + 5);
    EXPECT_EQ(snapshot->records, 1);
    const auto favourites = store_->favouriteRanking(10);
    ASSERT_EQ(favourites->size(), 1u);
    EXPECT_EQ((*favourites)[0].name, "New");
}

// Catches two writers on one store losing reports or failing each other:
// two connections record at once, as two server processes would.
TEST_P(ReportStoreTest, TwoConnectionsRecordAtOnce) {
    auto other = open();
    ASSERT_TRUE(other);
    auto write = [&](ReportStore& s, const std::string& client) {
        for (int b = 0; b < 20; ++b) {
            std::vector<StoredReport> batch;
            for (int i = 0; i < 50; ++i)
                batch.push_back(report("OFFLINE", "item" + std::to_string(b * 50 + i), client, kNow));
            EXPECT_TRUE(s.recordReports(batch)) << s.lastError();
        }
    };
    std::thread a([&] { write(*store_, "a"); });
    std::thread b([&] { write(*other, "b"); });
    a.join();
    b.join();
    EXPECT_EQ(store_->totals()->offline, 2000);
}

// Catches a token that changes when it is only read, and a renewal that
// keeps the old one.
TEST_P(ReportStoreTest, SettingsKeepOrReplace) {
    EXPECT_EQ(store_->setting("owner_token"), "");
    EXPECT_EQ(store_->putSetting("owner_token", "first", false), "first");
    EXPECT_EQ(store_->putSetting("owner_token", "second", false), "first");
    EXPECT_EQ(store_->putSetting("owner_token", "third", true), "third");
    EXPECT_EQ(open()->setting("owner_token"), "third");
}

INSTANTIATE_TEST_SUITE_P(Engines, ReportStoreTest, testing::ValuesIn(test::engines()), test::engineName);

}  // namespace
}  // namespace cd::server::storage
