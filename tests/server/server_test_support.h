#pragma once
// What the server's tests share: an injected clock, the two store engines
// (SQLite in a temporary folder; PostgreSQL in a fresh schema of the test
// cluster), an in-process server on a free loopback port, and the request
// targets the program builds for its reports.
#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "catalogue_server.h"
#include "clock.h"
#include "storage/report_store.h"
#include "support/temp_dir.h"

namespace cd::server::test {

/// A clock the test sets: wall seconds for report days, a steady time for
/// the rate limiter.
class FakeClock final : public Clock {
public:
    explicit FakeClock(std::int64_t unixSeconds = 1'700'000'000) : seconds_(unixSeconds) {}
    std::int64_t unixSeconds() const override { return seconds_.load(); }
    std::chrono::steady_clock::time_point steadyNow() const override {
        return std::chrono::steady_clock::time_point(std::chrono::milliseconds(steadyMs_.load()));
    }
    void setUnixSeconds(std::int64_t s) { seconds_ = s; }
    void advance(std::chrono::milliseconds d) {
        steadyMs_ += d.count();
        seconds_ += d.count() / 1000;
    }

private:
    std::atomic<std::int64_t> seconds_;
    std::atomic<std::int64_t> steadyMs_{1'000'000};
};

/// "sqlite" or "postgresql", the value of the parameterized tests.
struct Engine {
    std::string name;
};
inline void PrintTo(const Engine& engine, std::ostream* out) { *out << engine.name; }
std::vector<Engine> engines();
std::string engineName(const testing::TestParamInfo<Engine>& info);

/// A store for one test: SQLite in dir, or a fresh PostgreSQL schema.
/// url is "" for SQLite. Skips the test (GTEST_SKIP in the caller) when
/// PostgreSQL is asked for but cannot run here: skipReason says why.
struct StoreSetup {
    std::string url;
    std::string skipReason;
};
StoreSetup storeSetupFor(const Engine& engine);

/// Why PostgreSQL cannot be used here ("" when it can).
std::string postgresUnavailable();
/// The address of a new, empty schema in the test cluster.
std::string freshPostgresUrl();

/// "/webtv/getData.asp?..." exactly as the program builds a report.
std::string reportTarget(const std::string& item, const std::string& type, const std::string& value);

/// A CatalogueServer running on its own thread on 127.0.0.1:0.
class InProcessServer {
public:
    InProcessServer(const Clock& clock, const std::string& databaseUrl, double rateLimit = 0,
                    http::ServerLimits limits = {});
    ~InProcessServer();
    int port() const { return server_->port(); }
    const std::filesystem::path& dataDir() const { return dataDir_; }
    /// A client from 127.0.0.1, or from another loopback address.
    std::unique_ptr<httplib::Client> client(const std::string& from = "") const;
    /// A second connection to the server's store, for looking at what it keeps.
    storage::ReportStore& store();
    std::string token();

private:
    cd::test::TempDir dir_;
    std::filesystem::path dataDir_;
    std::string databaseUrl_;
    std::unique_ptr<CatalogueServer> server_;
    std::unique_ptr<storage::ReportStore> store_;
    std::thread thread_;
};

/// The base of the endpoint tests: a server on the engine of the test's
/// parameter, with the test's clock; skipped where PostgreSQL cannot run.
class ServerTest : public testing::TestWithParam<Engine> {
protected:
    void SetUp() override;
    /// (Re)starts the server, e.g. with a rate limit.
    void startServer(double rateLimit = 0, http::ServerLimits limits = {});
    httplib::Result get(const std::string& target, const httplib::Headers& headers = {}, const std::string& from = "");

    FakeClock clock_;
    StoreSetup setup_;
    std::unique_ptr<InProcessServer> server_;
};

/// A Data.htm of the given records (name, address, category, languages),
/// encoded with the line cipher unless plain, as the editor writes it.
std::string exportOf(const std::vector<storage::CatalogueRecord>& records, bool plain = false);

}  // namespace cd::server::test
