// How fast the real window answers while five fetches wait on a server that
// accepts and never answers: a call posted to the window's event loop every
// 10 ms, and how long each waits to run. Before fetches ran on the event
// loop, one such fetch froze the window for its whole 15 s.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

#include "app/app_shell.h"
#include "bench_shell.h"
#include "support/script_server.h"
#include "support/temp_dir.h"

namespace {

using Clock = std::chrono::steady_clock;

void BM_EventLatencyDuringFiveSilentFetches(benchmark::State& state) {
    cd::test::ScriptServer silent;
    silent.on("/silent", cd::test::Script{{}, false, true});
    cd::test::TempDir dir;
    dir.write("Data.txt", "");
    auto shell = cd::bench::startShell(dir, "Language=English\nshowHelp=0\n");

    auto& fetcher = shell->program().fetcher();
    for (int i = 0; i < 5; ++i) {
        cd::fetch::FetchRequest request;
        request.address = silent.url("/silent");
        request.bounds.deadline = std::chrono::minutes(5);
        request.bounds.stall = std::chrono::minutes(5);
        fetcher.start(std::move(request), [](cd::fetch::FetchResult) {});
    }
    std::vector<double> waits;
    for (auto _ : state) {
        const auto posted = Clock::now();
        bool ran = false;
        QTimer::singleShot(0, [&] {
            waits.push_back(std::chrono::duration<double, std::milli>(Clock::now() - posted).count());
            ran = true;
        });
        while (!ran) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const auto next = Clock::now() + std::chrono::milliseconds(10);
        while (Clock::now() < next) QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    std::sort(waits.begin(), waits.end());
    if (!waits.empty()) {
        state.counters["wait_ms_median"] = waits[waits.size() / 2];
        state.counters["wait_ms_p99"] = waits[std::min(waits.size() - 1, waits.size() * 99 / 100)];
        state.counters["wait_ms_max"] = waits.back();
    }
    shell->mainView()->close();
    shell.reset();
}

}  // namespace

BENCHMARK(BM_EventLatencyDuringFiveSilentFetches)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(300);
