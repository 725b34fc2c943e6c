// channeldeck-server as a process: start and stop, its commands, a kill -9
// under load, several processes on one PostgreSQL database, and a short
// load run that checks the stored counts.
#include "support/server_process.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <mutex>
#include <set>
#include <thread>

#include "server_test_support.h"
#include "storage/postgres_driver.h"
#include "storage/sqlite_driver.h"
#include "support/sqlite_integrity.h"

namespace cd::server::test {
namespace {

using cd::test::ServerProcess;

class ServerProcessTest : public testing::TestWithParam<Engine> {
protected:
    void SetUp() override {
        setup_ = storeSetupFor(GetParam());
        if (!setup_.skipReason.empty()) GTEST_SKIP() << "PostgreSQL cannot run here: " << setup_.skipReason;
    }
    cd::test::ServerProcessOptions options(std::vector<std::string> extra = {}) const {
        return {CD_SERVER_PATH, dir_.path() / "data", setup_.url, std::move(extra)};
    }
    // The items of every stored report of a type, read straight from the store.
    std::set<std::string> storedItems(const std::string& type) const {
        std::unique_ptr<storage::SqlDriver> driver;
        std::string error;
        if (setup_.url.empty())
            driver = storage::SqliteDriver::open(dir_.path() / "data" / "channeldeck-server.db", true, &error);
        else
            driver = storage::PostgresDriver::open(setup_.url, &error);
        EXPECT_TRUE(driver) << error;
        std::set<std::string> items;
        if (!driver) return items;
        const auto rows = driver->run("SELECT item FROM reports WHERE type = $1", {storage::Text{type}});
        EXPECT_TRUE(rows) << driver->lastError();
        if (rows)
            for (const auto& row : *rows) items.insert(row.string(0));
        return items;
    }

    cd::test::TempDir dir_;
    StoreSetup setup_;
};

// Catches a server that cannot start on an empty folder, does not stop
// cleanly on SIGTERM, or serves nothing once up.
TEST_P(ServerProcessTest, StartsOnAnEmptyFolderAndStopsCleanly) {
    ServerProcess server(options());
    std::string error;
    ASSERT_TRUE(server.start(&error)) << error;
    httplib::Client client("127.0.0.1", server.port());
    client.set_url_encode(false);
    EXPECT_EQ(client.Get(reportTarget("Fox TV", "FAVORITE", ""))->status, 200);
    EXPECT_EQ(client.Get("/webtv/Data.htm")->status, 404);
    EXPECT_EQ(server.ownerToken().size(), 64u);
    EXPECT_EQ(server.stop(), 0);
    EXPECT_EQ(storedItems("FAVORITE"), std::set<std::string>{"Fox TV"});
    if (setup_.url.empty()) {
        const auto db = dir_.path() / "data" / "channeldeck-server.db";
        EXPECT_EQ(cd::test::integrityOf(db), "ok");
        // It holds the owner's token and the clients' addresses.
        using std::filesystem::perms;
        EXPECT_EQ(std::filesystem::status(db).permissions() & (perms::group_all | perms::others_all), perms::none);
        EXPECT_EQ(std::filesystem::status(dir_.path() / "data").permissions() & (perms::group_all | perms::others_all),
                  perms::none);
    }
}

// Catches the publish command taking a damaged file or not reaching a
// running server, and the token command changing the token when only
// asked for it.
TEST_P(ServerProcessTest, PublishAndTokenCommands) {
    ServerProcess server(options());
    ASSERT_TRUE(server.start());
    const std::string good = dir_.write("Data.htm", exportOf({{"Fox TV", "http://tv/", "TV", "English"}})).string();
    const std::string junk = dir_.write("junk.htm", "<data>\r\nnothing here\r\n</data>\r\n").string();
    const auto refused = server.command({"publish", junk});
    EXPECT_EQ(refused.status, 1);
    const auto published = server.command({"publish", good});
    EXPECT_EQ(published.status, 0);
    EXPECT_NE(published.out.find("1 record"), std::string::npos) << published.out;
    EXPECT_EQ(server.command({"publish", (dir_.path() / "missing.htm").string()}).status, 1);
    EXPECT_EQ(cd::test::runCapturing({CD_SERVER_PATH, "publish"}).status, 2);
    EXPECT_EQ(cd::test::runCapturing({CD_SERVER_PATH, "--listen", "127.0.0.1:0"}).status, 2) << "no --data";
    // An address it cannot listen on ends the start, rather than some other port being taken.
    for (const std::string bad : {"127.0.0.1:99999", "127.0.0.1", "127.0.0.1:http", "[::1:80"})
        EXPECT_EQ(
            cd::test::runCapturing({CD_SERVER_PATH, "--listen", bad, "--data", (dir_.path() / "x").string()}).status, 1)
            << bad;

    httplib::Client client("127.0.0.1", server.port());
    std::string served;
    for (int i = 0; i < 40 && served.empty(); ++i) {
        const auto r = client.Get("/webtv/Data.htm");
        if (r && r->status == 200)
            served = r->body;
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_EQ(served, exportOf({{"Fox TV", "http://tv/", "TV", "English"}})) << "served within a few seconds";

    const std::string token = server.ownerToken();
    EXPECT_EQ(server.ownerToken(), token);
    const auto renewed = server.command({"token", "--new"});
    EXPECT_EQ(renewed.status, 0);
    EXPECT_NE(renewed.out.substr(0, 64), token);
    EXPECT_EQ(server.stop(), 0);
}

// Catches a report answered before the commit that holds it: the server is
// killed with SIGKILL while clients keep reporting, and every report it
// answered with 200 must be in the store afterwards, which must be whole.
TEST_P(ServerProcessTest, KillNineUnderLoadLosesNoAnsweredReport) {
    ServerProcess server(options({"--rate-limit", "0"}));
    std::string error;
    ASSERT_TRUE(server.start(&error)) << error;
    std::mutex mutex;
    std::vector<std::string> answered;
    std::atomic<bool> stop{false};
    std::atomic<int> count{0};
    std::vector<std::thread> clients;
    for (int t = 0; t < 8; ++t) {
        clients.emplace_back([&, t] {
            httplib::Client client("127.0.0.1", server.port());
            client.set_url_encode(false);
            client.set_read_timeout(5, 0);
            for (int n = 0; !stop; ++n) {
                const std::string item = "client " + std::to_string(t) + " report " + std::to_string(n);
                const auto r = client.Get(reportTarget(item, "FAVORITE", ""));
                if (!r) break;  // the server is gone
                if (r->status == 200) {
                    std::lock_guard lock(mutex);
                    answered.push_back(item);
                    ++count;
                }
            }
        });
    }
    while (count < 300) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    server.kill();
    stop = true;
    for (auto& c : clients) c.join();

    const auto stored = storedItems("FAVORITE");
    std::size_t missing = 0;
    for (const auto& item : answered) missing += stored.count(item) ? 0 : 1;
    EXPECT_EQ(missing, 0u) << "of " << answered.size() << " answered reports";
    if (setup_.url.empty()) {
        EXPECT_EQ(cd::test::integrityOf(dir_.path() / "data" / "channeldeck-server.db"), "ok");
    }
    ServerProcess again(options());
    ASSERT_TRUE(again.start(&error)) << "restarts on the killed server's store: " << error;
    httplib::Client client("127.0.0.1", again.port());
    client.set_url_encode(false);
    EXPECT_EQ(client.Get(reportTarget("after the kill", "FAVORITE", ""))->status, 200);
}

// Catches a load run whose stored counts differ from the distinct reports
// answered: lost commits, reports counted twice, or ones stored under
// another client address.
TEST_P(ServerProcessTest, ShortLoadRunStoresEachDistinctReportOnce) {
    std::vector<std::string> argv = {CD_LOAD_PATH,
                                     "--server",
                                     CD_SERVER_PATH,
                                     "--data",
                                     (dir_.path() / "data").string(),
                                     "--server-arg",
                                     "--rate-limit",
                                     "--server-arg",
                                     "0",
                                     "--seconds",
                                     "3",
                                     "--rate",
                                     "2000",
                                     "--connections",
                                     "64",
                                     "--clients",
                                     "300",
                                     "--items",
                                     "200"};
    if (!setup_.url.empty()) {
        argv.push_back("--database");
        argv.push_back(setup_.url);
    }
    const auto run = cd::test::runCapturing(argv);
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("counts: stored = distinct reports answered 200"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("failed connections: 0"), std::string::npos) << run.out;
}

INSTANTIATE_TEST_SUITE_P(Engines, ServerProcessTest, testing::ValuesIn(engines()), engineName);

// Catches state kept in one process that another process on the same
// PostgreSQL database should see: reports, the published catalogue, the
// owner's token.
TEST(ServerProcesses, SeveralProcessesServeOnePostgresDatabase) {
    const StoreSetup setup = storeSetupFor({"postgresql"});
    if (!setup.skipReason.empty()) GTEST_SKIP() << "PostgreSQL cannot run here: " << setup.skipReason;
    cd::test::TempDir dirA, dirB;
    ServerProcess a({CD_SERVER_PATH, dirA.path(), setup.url, {}});
    ServerProcess b({CD_SERVER_PATH, dirB.path(), setup.url, {}});
    std::thread startA([&] { ASSERT_TRUE(a.start()); });
    std::thread startB([&] { ASSERT_TRUE(b.start()); });  // both create the tables at once
    startA.join();
    startB.join();
    ASSERT_TRUE(a.running() && b.running());
    const std::string token = a.ownerToken();
    ASSERT_EQ(b.ownerToken(), token);
    httplib::Client ca("127.0.0.1", a.port()), cb("127.0.0.1", b.port());
    ca.set_url_encode(false);
    const httplib::Headers auth = {{"Authorization", "Bearer " + token}};
    ASSERT_EQ(ca.Get(reportTarget("Fox TV", "FAVORITE", ""))->status, 200);
    EXPECT_NE(cb.Get("/owner/api/summary", auth)->body.find("\"FAVORITE\": 1"), std::string::npos);

    const std::string body = exportOf({{"Fox TV", "http://tv/", "TV", "English"}});
    ASSERT_EQ(ca.Put("/webtv/Data.htm", auth, body, "text/html")->status, 200);
    std::string served;
    for (int i = 0; i < 40 && served != body; ++i) {
        const auto r = cb.Get("/webtv/Data.htm");
        if (r && r->status == 200) served = r->body;
        if (served != body) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_EQ(served, body) << "the other process serves the new catalogue";

    const std::string renewed = a.command({"token", "--new"}).out.substr(0, 64);
    bool both = false;
    for (int i = 0; i < 40 && !both; ++i) {
        both = ca.Get("/owner/api/summary", {{"Authorization", "Bearer " + renewed}})->status == 200 &&
               cb.Get("/owner/api/summary", {{"Authorization", "Bearer " + renewed}})->status == 200;
        if (!both) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_TRUE(both);
    EXPECT_EQ(cb.Get("/owner/api/summary", auth)->status, 401);
}

}  // namespace
}  // namespace cd::server::test
