// A 50 MB body through the program's HttpClient on its event loop, against
// the curl command line fetching the same address in the same run: driving
// libcurl from the loop and appending the body must not cost much next to a
// plain download, and the loop must stay free for other events meanwhile.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>

#include "fetch/http_client.h"
#include "platform/poll_event_loop.h"
#include "support/loopback_server.h"

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

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

void BM_Fetch_50MB_VersusCurl(benchmark::State& state) {
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

    cd::platform::PollEventLoop loop;
    cd::fetch::HttpClient client(loop);
    // A tick every 5 ms stands for the window's events: how late it runs is
    // how long the window would have waited.
    Clock::duration maxLate{};
    auto tick = loop.makeTimer([] {});
    Clock::time_point due{};
    std::function<void()> arm = [&] {
        due = Clock::now() + std::chrono::milliseconds(5);
        tick->start(std::chrono::milliseconds(5));
    };
    tick = loop.makeTimer([&] {
        maxLate = std::max(maxLate, Clock::now() - due);
        arm();
    });
    double ours = 0, theirs = 0;
    long iteration = 0;
    for (auto _ : state) {
        // Alternate who goes first, so neither always meets a warm server.
        double oursNow = 0, theirsNow = 0;
        for (int turn = 0; turn < 2; ++turn) {
            if ((turn == 0) == (iteration % 2 == 0)) {
                const auto t0 = Clock::now();
                std::size_t got = 0;
                bool done = false;
                cd::fetch::FetchRequest request;
                request.address = url;
                request.bounds = cd::fetch::watchedBounds(64u << 20);
                arm();
                client.start(std::move(request), [&](cd::fetch::FetchResult r) {
                    got = r.body.size();
                    done = true;
                });
                loop.runUntil([&] { return done; }, std::chrono::seconds(60));
                tick->stop();
                oursNow = seconds(Clock::now() - t0);
                if (got != kBodyBytes) state.SkipWithError("short body");
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
    state.counters["max_event_late_ms"] = std::chrono::duration<double, std::milli>(maxLate).count();
}

}  // namespace

BENCHMARK(BM_Fetch_50MB_VersusCurl)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
