// The zap: from a click on a channel to the player being given its address
// (or the offline picture, for a refused port), through the real probe on
// the real HttpClient, against loopback servers. A radio served at its real
// bitrate with no start burst is the case that used to take four seconds.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "fetch/http_client.h"
#include "fetch/report.h"
#include "localization/message_table.h"
#include "platform/poll_event_loop.h"
#include "playback/playback_controller.h"
#include "support/fakes.h"
#include "support/script_server.h"
#include "ui/control.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

struct Zap {
    cd::platform::PollEventLoop loop;
    cd::fetch::HttpClient client{loop};
    cd::fetch::Reporter reporter{client, "127.0.0.1:1"};
    cd::test::FakePlayer player;
    cd::ui::Control offline{"Image", "imgOffline"};
    cd::ui::Control status{"StatusLine", "PlayerStatus"};
    cd::localization::MessageTable messages{cd::platform::VersionInfo{"ChannelDeck", "Q", "x", 1, 0, 0}};
    cd::playback::PlaybackController playback{loop, client, reporter, player, {offline, status}, messages};

    Zap() { cd::localization::addDefaultMessages(messages); }

    /// Seconds from the click to the decision, or a negative number when none came.
    double click(const std::string& address) {
        const std::size_t played = player.urls.size();
        offline.setVisible(false);
        const auto t0 = Clock::now();
        playback.playChannel("Radio", address, "");
        const bool decided =
            loop.runUntil([&] { return player.urls.size() > played || offline.visible(); }, milliseconds(10'000));
        const double took = std::chrono::duration<double>(Clock::now() - t0).count();
        playback.supersede();
        reporter.cancelAll();
        return decided ? took : -1;
    }
};

void report(benchmark::State& state, double total, double worst, long n) {
    state.counters["zap_ms_mean"] = 1000 * total / static_cast<double>(n);
    state.counters["zap_ms_worst"] = 1000 * worst;
}

void BM_Zap_16kBps_StreamWithoutBurst(benchmark::State& state) {
    cd::test::ScriptServer server;
    cd::test::Script radio;
    radio.steps = {{milliseconds(0), cd::test::httpHead(200, "audio/mpeg")}};
    for (int i = 0; i < 200; ++i) radio.steps.push_back({milliseconds(64), std::string(1024, '\0')});
    server.on("/radio", radio);
    Zap zap;
    double total = 0, worst = 0;
    long n = 0;
    for (auto _ : state) {
        const double took = zap.click(server.url("/radio"));
        if (took < 0 || zap.player.urls.empty()) state.SkipWithError("the stream was not played");
        total += took;
        worst = std::max(worst, took);
        ++n;
        state.SetIterationTime(took);
    }
    report(state, total, worst, n);
}

void BM_Zap_RefusedPort(benchmark::State& state) {
    Zap zap;
    double total = 0, worst = 0;
    long n = 0;
    for (auto _ : state) {
        const double took = zap.click("http://127.0.0.1:1/radio");
        if (took < 0 || !zap.offline.visible()) state.SkipWithError("the refusal was not decided");
        total += took;
        worst = std::max(worst, took);
        ++n;
        state.SetIterationTime(took);
    }
    report(state, total, worst, n);
}

}  // namespace

BENCHMARK(BM_Zap_16kBps_StreamWithoutBurst)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Zap_RefusedPort)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);
