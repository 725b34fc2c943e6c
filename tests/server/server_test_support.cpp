#include "server_test_support.h"

#include <libpq-fe.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <mutex>

#include "fetch/report.h"
#include "formats/channel.h"
#include "formats/line_cipher.h"
#include "owner/owner_token.h"
#include "storage/open_store.h"
#include "support/server_process.h"

namespace cd::server::test {

namespace {

std::string readSmall(const std::filesystem::path& p) {
    std::ifstream in(p);
    std::string s;
    std::getline(in, s);
    return s;
}

// The cluster: the one CTest started for the whole run (CD_TEST_POSTGRES_DIR),
// or, when the test program runs on its own, one of its own for this process.
struct Cluster {
    std::string url;
    std::string unavailable;
    std::filesystem::path ownDir;
    ~Cluster() {
        if (!ownDir.empty())
            cd::test::runCapturing({CD_SOURCE_DIR "/scripts/pg-test-cluster", "stop", ownDir.string()});
    }
};

Cluster& cluster() {
    static Cluster c;
    static std::once_flag once;
    std::call_once(once, [] {
        std::filesystem::path dir;
        if (const char* shared = std::getenv("CD_TEST_POSTGRES_DIR"); shared && *shared) {
            dir = shared;
        } else {
            dir = std::filesystem::temp_directory_path() / ("channeldeck-pg-" + std::to_string(::getpid()));
            const auto run = cd::test::runCapturing({CD_SOURCE_DIR "/scripts/pg-test-cluster", "start", dir.string()});
            if (run.status != 0) c.unavailable = "scripts/pg-test-cluster failed";
            c.ownDir = dir;
        }
        if (std::filesystem::exists(dir / "url"))
            c.url = readSmall(dir / "url");
        else if (c.unavailable.empty())
            c.unavailable = std::filesystem::exists(dir / "unavailable") ? readSmall(dir / "unavailable")
                                                                         : "no test cluster in " + dir.string();
    });
    return c;
}

}  // namespace

std::vector<Engine> engines() { return {{"sqlite"}, {"postgresql"}}; }

std::string engineName(const testing::TestParamInfo<Engine>& info) { return info.param.name; }

std::string postgresUnavailable() { return cluster().unavailable; }

std::string freshPostgresUrl() {
    static std::atomic<int> counter{0};
    const std::string schema = "t" + std::to_string(::getpid()) + "_" + std::to_string(counter++);
    PGconn* conn = PQconnectdb(cluster().url.c_str());
    if (PQstatus(conn) != CONNECTION_OK) {
        const std::string why = PQerrorMessage(conn);
        PQfinish(conn);
        throw std::runtime_error("cannot reach the test cluster: " + why);
    }
    PQclear(PQexec(conn, ("DROP SCHEMA IF EXISTS " + schema + " CASCADE").c_str()));
    PGresult* r = PQexec(conn, ("CREATE SCHEMA " + schema).c_str());
    const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK;
    PQclear(r);
    PQfinish(conn);
    if (!ok) throw std::runtime_error("cannot create schema " + schema);
    // Everything the server creates and reads goes to that schema.
    return cluster().url + "&options=-c%20search_path%3D" + schema;
}

StoreSetup storeSetupFor(const Engine& engine) {
    StoreSetup s;
    if (engine.name == "sqlite") return s;
    s.skipReason = postgresUnavailable();
    if (s.skipReason.empty()) s.url = freshPostgresUrl();
    return s;
}

std::string reportTarget(const std::string& item, const std::string& type, const std::string& value) {
    const std::string address = fetch::ReportAddress("h", item, type, value);
    return address.substr(std::string("http://h").size());
}

InProcessServer::InProcessServer(const Clock& clock, const std::string& databaseUrl, double rateLimit,
                                 http::ServerLimits limits)
    : dataDir_(dir_.path() / "data"), databaseUrl_(databaseUrl) {
    ServerConfig config;
    config.listen = "127.0.0.1:0";
    config.dataDir = dataDir_;
    config.databaseUrl = databaseUrl;
    config.rateLimit = rateLimit;
    config.limits = limits;
    std::filesystem::create_directories(dataDir_ / "Languages" / "26");
    std::ofstream(dataDir_ / "banner.html") << "<p>banner</p>";
    std::ofstream(dataDir_ / "Languages" / "26" / "Localization.txt") << "<language name=\"English\">";
    std::ofstream(dataDir_ / "secret.txt") << "not served";
    server_ = std::make_unique<CatalogueServer>(config, clock);
    std::string error;
    if (!server_->open(&error)) throw std::runtime_error("server did not open: " + error);
    thread_ = std::thread([this] { server_->run(); });
}

InProcessServer::~InProcessServer() {
    server_->stop();
    thread_.join();
}

std::unique_ptr<httplib::Client> InProcessServer::client(const std::string& from) const {
    auto c = std::make_unique<httplib::Client>("127.0.0.1", port());
    c->set_connection_timeout(5, 0);
    c->set_read_timeout(10, 0);
    // Targets go out exactly as the test wrote them.
    c->set_url_encode(false);
    if (!from.empty()) c->set_interface(from);
    return c;
}

storage::ReportStore& InProcessServer::store() {
    if (!store_) {
        std::string error;
        store_ = storage::openStore({dataDir_, databaseUrl_, true}, &error);
        if (!store_) throw std::runtime_error(error);
    }
    return *store_;
}

std::string InProcessServer::token() { return *owner::ensureToken(store(), false); }

void ServerTest::SetUp() {
    setup_ = storeSetupFor(GetParam());
    if (!setup_.skipReason.empty()) GTEST_SKIP() << "PostgreSQL cannot run here: " << setup_.skipReason;
    startServer();
}

void ServerTest::startServer(double rateLimit, http::ServerLimits limits) {
    server_.reset();
    server_ = std::make_unique<InProcessServer>(clock_, setup_.url, rateLimit, limits);
}

httplib::Result ServerTest::get(const std::string& target, const httplib::Headers& headers, const std::string& from) {
    return server_->client(from)->Get(target.c_str(), headers);
}

std::string exportOf(const std::vector<storage::CatalogueRecord>& records, bool plain) {
    std::string text = "<data>\r\n";
    for (const auto& r : records) {
        const std::string line = formats::recordLine(r);
        text += (plain ? line : formats::EncodeLine(line)) + "\r\n";
    }
    return text + "</data>\r\n";
}

}  // namespace cd::server::test
