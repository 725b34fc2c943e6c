// channeldeck_server_bench: the catalogue server's own figures.
//   BM_ServerStartupEmptyFolder   exec of channeldeck-server on an empty data folder until it listens
//   BM_TokenCompare               the owner's token check, by where a wrong token first differs
//   BM_ParseReportQuery           reading one report as the program sends it
//   BM_RecordReports              reports committed a second, by how many share a commit
//   BM_OwnerReport                everything the owner's page shows, over 5,000 channels and
//                                 200,000 reports
//   (the store benchmarks run on SQLite; on PostgreSQL too when CD_BENCH_POSTGRES_URL is set)
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <map>
#include <memory>

#include "fetch/report.h"
#include "intake/report_query.h"
#include "owner/owner_report.h"
#include "owner/owner_token.h"
#include "storage/open_store.h"
#include "support/server_process.h"
#include "support/temp_dir.h"

namespace {

void BM_ServerStartupEmptyFolder(benchmark::State& state) {
    for (auto _ : state) {
        cd::test::TempDir dir;
        cd::test::ServerProcess server({CD_SERVER_PATH, dir.path() / "data", "", {}});
        std::string error;
        if (!server.start(&error)) {
            state.SkipWithError(error.c_str());
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(server.startupTime()).count());
        server.stop();
    }
}
BENCHMARK(BM_ServerStartupEmptyFolder)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

// The time must not depend on where the tokens differ (0: the first byte,
// 63: the last, 64: a token one byte short).
void BM_TokenCompare(benchmark::State& state) {
    const std::string token = cd::server::owner::newToken();
    std::string wrong = token;
    const auto at = static_cast<std::size_t>(state.range(0));
    if (at < wrong.size())
        wrong[at] = wrong[at] == '0' ? '1' : '0';
    else
        wrong.pop_back();
    for (auto _ : state) {
        benchmark::DoNotOptimize(token);
        benchmark::DoNotOptimize(wrong);
        benchmark::DoNotOptimize(cd::server::owner::tokensEqual(token, wrong));
    }
}
BENCHMARK(BM_TokenCompare)->Arg(0)->Arg(32)->Arg(63)->Arg(64);

void BM_ParseReportQuery(benchmark::State& state) {
    const std::string address =
        cd::fetch::ReportAddress("h", "http://stream7.example.invalid/live/7?key=a&b=c d/e:f", "OFFLINE", "\"");
    const std::string query = address.substr(address.find('?') + 1);
    for (auto _ : state) benchmark::DoNotOptimize(cd::server::intake::parseReportQuery(query));
}
BENCHMARK(BM_ParseReportQuery);

void recordReports(benchmark::State& state, const std::string& url) {
    cd::test::TempDir dir;
    std::string error;
    auto store = cd::server::storage::openStore({dir.path(), url, true}, &error);
    if (!store) {
        state.SkipWithError(error.c_str());
        return;
    }
    const auto batch = static_cast<std::size_t>(state.range(0));
    std::uint64_t n = 0, x = 88172645463325252ULL;
    std::vector<cd::server::storage::StoredReport> reports(batch);
    for (auto _ : state) {
        for (auto& r : reports) {
            x ^= x << 13, x ^= x >> 7, x ^= x << 17;
            r = {"OFFLINE",
                 "",
                 "http://stream.example.invalid/live/" + std::to_string(x % 100000),
                 "10.0." + std::to_string(x % 250) + "." + std::to_string(++n % 250),
                 20000,
                 20000 * 86400};
        }
        if (!store->recordReports(reports)) state.SkipWithError(store->lastError().c_str());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * batch));
}

void BM_RecordReports_SQLite(benchmark::State& state) { recordReports(state, ""); }
BENCHMARK(BM_RecordReports_SQLite)
    ->Arg(1)
    ->Arg(16)
    ->Arg(128)
    ->Arg(1024)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2)
    ->UseRealTime();

void BM_RecordReports_PostgreSQL(benchmark::State& state) {
    const char* url = std::getenv("CD_BENCH_POSTGRES_URL");
    if (!url || !*url) {
        state.SkipWithError("set CD_BENCH_POSTGRES_URL (scripts/pg-test-cluster start DIR durable prints one)");
        return;
    }
    recordReports(state, url);
}
BENCHMARK(BM_RecordReports_PostgreSQL)
    ->Arg(1)
    ->Arg(16)
    ->Arg(128)
    ->Arg(1024)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2)
    ->UseRealTime();

// A store with a published catalogue of 5,000 channels and 200,000 reports
// on them from 1,000 clients over 30 days, made once per engine.
cd::server::storage::ReportStore* ownerStore(const std::string& url, std::string* error) {
    static std::map<std::string,
                    std::pair<std::unique_ptr<cd::test::TempDir>, std::unique_ptr<cd::server::storage::ReportStore>>>
        stores;
    auto& slot = stores[url];
    if (slot.second) return slot.second.get();
    slot.first = std::make_unique<cd::test::TempDir>();
    auto store = cd::server::storage::openStore({slot.first->path(), url, false}, error);
    if (!store) return nullptr;
    std::vector<cd::server::storage::CatalogueRecord> channels;
    std::string body = "<data>\r\n";
    for (int i = 0; i < 5000; ++i) {
        channels.push_back(
            {"Channel " + std::to_string(i), "http://stream.example.invalid/" + std::to_string(i), "TV", "English"});
        body += channels.back().name + "|" + channels.back().address + "|TV|English\r\n";
    }
    body += "</data>\r\n";
    const std::int64_t now = 20030LL * 86400;
    if (!store->publishCatalogue(body, "\"b\"", now, channels)) return nullptr;
    std::uint64_t x = 88172645463325252ULL;
    std::vector<cd::server::storage::StoredReport> batch;
    static const char* kTypes[] = {"OFFLINE", "OFFLINE", "FAVORITE", "Rate"};
    for (int n = 0; n < 200000; ++n) {
        x ^= x << 13, x ^= x >> 7, x ^= x << 17;
        const int type = static_cast<int>(x % 4);
        const auto& c = channels[(x >> 8) % channels.size()];
        const std::int64_t at = now - static_cast<std::int64_t>((x >> 24) % (30 * 86400));
        batch.push_back(
            {kTypes[type], type == 3 ? std::to_string(1 + (x >> 40) % 5) : "", type < 2 ? c.address : c.name,
             "10.0." + std::to_string((x >> 48) % 4) + "." + std::to_string((x >> 52) % 250), at / 86400, at});
        if (batch.size() == 1024 || n == 199999) {
            if (!store->recordReports(batch)) return nullptr;
            batch.clear();
        }
    }
    slot.second = std::move(store);
    return slot.second.get();
}

void ownerReport(benchmark::State& state, const std::string& url) {
    std::string error;
    auto* store = ownerStore(url, &error);
    if (!store) {
        state.SkipWithError(error.c_str());
        return;
    }
    for (auto _ : state) {
        const auto report = cd::server::owner::gatherOwnerReport(*store, 20030LL * 86400, 50);
        if (!report || report->offline.size() != 3 || report->ratings.empty()) state.SkipWithError("no report");
    }
}

void BM_OwnerReport_SQLite(benchmark::State& state) { ownerReport(state, ""); }
BENCHMARK(BM_OwnerReport_SQLite)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OwnerReport_PostgreSQL(benchmark::State& state) {
    const char* url = std::getenv("CD_BENCH_POSTGRES_URL");
    if (!url || !*url) {
        state.SkipWithError("set CD_BENCH_POSTGRES_URL (scripts/pg-test-cluster start DIR durable prints one)");
        return;
    }
    ownerReport(state, url);
}
BENCHMARK(BM_OwnerReport_PostgreSQL)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
