// channeldeck_server_bench: the catalogue server's own figures.
//   BM_ServerStartupEmptyFolder   exec of channeldeck-server on an empty data folder until it listens
//   BM_TokenCompare               the owner's token check, by where a wrong token first differs
//   BM_ParseReportQuery           reading one report as the program sends it
//   BM_RecordReports              reports committed a second, by how many share a commit
//                                 (SQLite; PostgreSQL too when CD_BENCH_POSTGRES_URL is set)
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "fetch/report.h"
#include "intake/report_query.h"
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

}  // namespace
