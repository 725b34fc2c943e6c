// HttpGetWithProgress of a 50 MB body from a loopback server against the curl
// command line fetching the same address in the same run: the event pumping
// and appending of the fetch must not cost much next to a plain download.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>

#include "fetch/fetch.h"
#include "support/loopback_server.h"
#include "ui/control.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kBodyBytes = 50'000'000;

const std::string& body() {
    static const std::string b = [] {
        std::string s(kBodyBytes, '\0');
        for (std::size_t i = 0; i < s.size(); ++i) s[i] = static_cast<char>('a' + i % 26);
        return s;
    }();
    return b;
}

// Counts pumps and the longest time the window would have waited for one.
class CountingPump : public cd::platform::EventPump {
public:
    void runPending() override {
        const auto now = Clock::now();
        if (last != Clock::time_point{}) maxGap = std::max(maxGap, now - last);
        last = now;
        ++calls;
    }
    long calls = 0;
    Clock::time_point last{};
    Clock::duration maxGap{};
};

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

void BM_HttpGetWithProgress_50MB_VersusCurl(benchmark::State& state) {
    body();  // built before the clock runs, not inside the first request
    cd::test::LoopbackServer server;
    server.server().Get("/big", [](const httplib::Request&, httplib::Response& res) {
        res.set_content_provider(kBodyBytes, "application/octet-stream",
                                 [](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                                     const std::size_t n = std::min<std::size_t>(length, 1 << 20);
                                     return sink.write(body().data() + offset, n);
                                 });
    });
    server.start();
    const std::string url = server.url("/big");
    const std::string curlCommand = "curl -s -o /dev/null '" + url + "'";
    if (std::system("curl --version > /dev/null 2>&1") != 0) {
        state.SkipWithError("curl is not installed");
        return;
    }

    CountingPump pump;
    cd::fetch::HttpFetcher fetcher(pump);
    cd::ui::Control box("TextBox", "txtStatus");
    double ours = 0, theirs = 0;
    long iteration = 0;
    for (auto _ : state) {
        // Alternate who goes first, so neither always meets a warm server.
        double oursNow = 0, theirsNow = 0;
        for (int turn = 0; turn < 2; ++turn) {
            if ((turn == 0) == (iteration % 2 == 0)) {
                const auto t0 = Clock::now();
                pump.last = t0;
                const std::string got = fetcher.HttpGetWithProgress(url, box);
                oursNow = seconds(Clock::now() - t0);
                if (got.size() != kBodyBytes) state.SkipWithError("short body");
            } else {
                const auto t0 = Clock::now();
                if (std::system(curlCommand.c_str()) != 0) state.SkipWithError("curl failed");
                theirsNow = seconds(Clock::now() - t0);
            }
        }
        ++iteration;
        ours += oursNow;
        theirs += theirsNow;
        state.SetIterationTime(oursNow);
    }
    const double mb = static_cast<double>(kBodyBytes) * static_cast<double>(iteration) / 1e6;
    state.SetBytesProcessed(static_cast<int64_t>(kBodyBytes) * iteration);
    state.counters["ours_MBps"] = mb / ours;
    state.counters["curl_MBps"] = mb / theirs;
    state.counters["ratio"] = theirs / ours;
    state.counters["pumps_per_fetch"] = static_cast<double>(pump.calls) / static_cast<double>(iteration);
    state.counters["max_pump_gap_ms"] = std::chrono::duration<double, std::milli>(pump.maxGap).count();
}

}  // namespace

BENCHMARK(BM_HttpGetWithProgress_50MB_VersusCurl)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
