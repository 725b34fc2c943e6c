#include "playback/playback_controller.h"

#include <gtest/gtest.h>

#include <chrono>

#include "platform/poll_event_loop.h"
#include "support/fakes.h"
#include "support/scripted_fetcher.h"
#include "support/sent_reports.h"

namespace cd::playback {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

const test::ScriptedReply kAudio{200, "audio/aac", {}, "xx"};

/// Short pauses, in the ratio of the real ones (1, 2 and 4 s).
ReconnectPolicy quickPolicy() { return ReconnectPolicy{{40ms, 80ms, 160ms}, 400ms}; }

struct Harness {
    explicit Harness(ReconnectPolicy policy = quickPolicy())
        : playback(loop, fetcher, reporter, player, {offline, status}, messages, std::move(policy)) {
        localization::addDefaultMessages(messages);
    }

    /// Chooses a channel, lets its probe find a stream and the player start it.
    void playLive(const std::string& name, const std::string& address) {
        playback.playChannel(name, address, "");
        ASSERT_TRUE(fetcher.reply(address, kAudio));
        player.reportStarted();
        player.reportInfo(platform::MediaInfo{{}, {}, "mp3", {}, 128, 0, 0, 0});
    }
    bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout = 3s) {
        return loop.runUntil(done, timeout);
    }

    ui::Control offline{"Image", "imgOffline"};
    ui::Control status{"StatusLine", "PlayerStatus"};
    platform::PollEventLoop loop;
    test::FakePlayer player;
    test::ScriptedFetcher fetcher;
    fetch::Reporter reporter{fetcher, "catalogue.test"};
    localization::MessageTable messages{platform::VersionInfo{"ChannelDeck", "Q", "x", 1, 0, 0}};
    PlaybackController playback;
};

// Catches a channel this machine merely does not trust reported as dead,
// and a favourite's OFFLINE report without its quote.
TEST(PlaybackControllerTest, UntrustedCertificateIsShownButNotReported) {
    Harness h;
    h.playback.playChannel("Secure", "https://secure.test/live", "\"");
    ASSERT_TRUE(h.fetcher.reply("https://secure.test/live",
                                test::ScriptedReply{0, "", {}, "", fetch::FetchError::Certificate, false}));
    EXPECT_TRUE(h.offline.visible());
    EXPECT_EQ(h.status.caption(), "Secure is offline: the server's certificate is not trusted.");
    EXPECT_TRUE(test::sentReports(h.fetcher).empty());

    h.playback.playChannel("Dead", "http://dead.test/", "\"");
    ASSERT_TRUE(h.fetcher.reply("http://dead.test/", test::ScriptedReply{503, "text/html", {}, ""}));
    EXPECT_EQ(h.status.caption(), "Dead is offline: the server answered with error 503.");
    EXPECT_EQ(test::sentReports(h.fetcher),
              (std::vector<test::SentReport>{{"OFFLINE", "\"", "http[colon][slash][slash]dead.test[slash]"}}));
}

// Catches the offline picture left over something that plays later, a
// player failure on a probed channel shown as offline (it answered), and
// channel names in the catalogue's code page shown as broken UTF-8.
TEST(PlaybackControllerTest, PlayerOutcomeUpdatesPictureAndStatus) {
    Harness h;
    h.playback.playChannel("Caf\xE9", "http://cafe.test/", "");
    EXPECT_EQ(h.status.caption(), "Connecting to Caf\xC3\xA9\xE2\x80\xA6");
    ASSERT_TRUE(h.fetcher.reply("http://cafe.test/", test::ScriptedReply{404, "text/html", {}, "gone"}));
    EXPECT_TRUE(h.offline.visible());

    h.playback.supersede();  // a local file takes the player
    h.player.reportStarted();
    EXPECT_FALSE(h.offline.visible()) << "whatever starts playing, the old picture goes";
    h.player.reportInfo(platform::MediaInfo{"", "tone.wav", "pcm_u8", "", 64, 0, 0, 1.0});
    EXPECT_EQ(h.status.caption(), "Playing tone.wav (pcm_u8, 64 kbit/s)");
    EXPECT_EQ(h.playback.nowPlaying().state().title, "tone.wav");

    h.playback.playChannel("Radio", "http://radio.test/", "");
    ASSERT_TRUE(h.fetcher.reply("http://radio.test/", kAudio));
    EXPECT_EQ(h.player.urls.back(), "http://radio.test/");
    h.player.reportFailed("audio codec not supported");
    EXPECT_FALSE(h.offline.visible());
    EXPECT_EQ(h.status.caption(), "Radio could not be played: audio codec not supported.");
    EXPECT_EQ(test::sentReports(h.fetcher).size(), 1u) << "only the 404 was reported";
    EXPECT_TRUE(h.player.reopened.empty()) << "a stream that never played is not reopened";
}

// Catches a probe or report that outlives the program's end.
TEST(PlaybackControllerTest, ShutDownGivesUpProbesAndReports) {
    Harness h;
    h.playback.playChannel("Gone", "http://gone.test/", "");
    ASSERT_TRUE(h.fetcher.reply("http://gone.test/", test::ScriptedReply{404, "text/plain", {}, ""}));
    h.playback.playChannel("Slow", "http://slow.test/", "");
    EXPECT_EQ(h.fetcher.pendingCount(), 2u) << "the probe and the report";
    EXPECT_TRUE(h.playback.probing());
    h.playback.shutDown();
    EXPECT_FALSE(h.playback.probing());
    EXPECT_EQ(h.fetcher.pendingCount(), 0u);
    EXPECT_TRUE(h.player.urls.empty());
}

// Catches a dropped live stream left silent, a retry that probes, reports or
// lets the player show its own error box (setUrl instead of reopen), pauses
// that do not grow, a fourth try, and giving up with the offline picture.
TEST(PlaybackControllerTest, DroppedLiveStreamIsReopenedThreeTimesThenStops) {
    Harness h;
    h.playLive("Live FM", "http://live.test/stream");
    ASSERT_EQ(h.fetcher.started.size(), 1u);

    const auto dropped = Clock::now();
    h.player.reportEnded();
    EXPECT_EQ(h.status.caption(), "Reconnecting to Live FM\xE2\x80\xA6 (try 1 of 3)");
    EXPECT_TRUE(h.playback.reconnecting());
    EXPECT_TRUE(h.player.reopened.empty()) << "the first try waits its pause";
    EXPECT_TRUE(h.player.panel().shown) << "no frame stands while nothing plays";
    EXPECT_EQ(h.player.panel().heading, "Live FM");

    std::vector<Clock::duration> gaps;
    auto last = dropped;
    for (std::size_t i = 1; i <= 3; ++i) {
        ASSERT_TRUE(h.waitFor([&] { return h.player.reopened.size() == i; })) << "try " << i;
        gaps.push_back(Clock::now() - last);
        last = Clock::now();
        EXPECT_EQ(h.player.reopened.back(), "http://live.test/stream");
        h.player.reportFailed("loading failed");
        if (i < 3) {
            EXPECT_EQ(h.status.caption(),
                      "Reconnecting to Live FM\xE2\x80\xA6 (try " + std::to_string(i + 1) + " of 3)");
        }
    }
    EXPECT_GE(gaps[0], 40ms);
    EXPECT_GE(gaps[1], 80ms);
    EXPECT_GE(gaps[2], 160ms);
    EXPECT_EQ(h.status.caption(), "Live FM stopped: loading failed.");
    EXPECT_FALSE(h.playback.reconnecting());
    EXPECT_FALSE(h.offline.visible()) << "it played: it is not offline";
    h.loop.runUntil([] { return false; }, 300ms);
    EXPECT_EQ(h.player.reopened.size(), 3u) << "no fourth try";
    EXPECT_EQ(h.player.urls.size(), 1u);
    EXPECT_EQ(h.fetcher.started.size(), 1u) << "no probe and no report for a retry";
    EXPECT_EQ(h.playback.nowPlaying().state().state, PlayState::Stopped);
}

// Catches a recovered stream that keeps its old count forever (a later drop
// gets no tries) or starts over at once (a server that hangs up at once is
// called without end), and a stream that ended by itself reported as failed.
TEST(PlaybackControllerTest, RecoveredStreamCountsTriesUntilItPlaysSteadily) {
    Harness h;
    h.playLive("Live FM", "http://live.test/stream");
    h.player.reportEnded();
    ASSERT_TRUE(h.waitFor([&] { return h.player.reopened.size() == 1; }));
    h.player.reportStarted();
    EXPECT_FALSE(h.playback.reconnecting());
    EXPECT_EQ(h.status.caption().rfind("Playing Live FM", 0), 0u) << h.status.caption();
    h.player.reportInfo(platform::MediaInfo{"Song", {}, "mp3", {}, 128, 0, 0, 0});

    // Dropped again at once: the second try, after the second pause.
    h.player.reportEnded();
    EXPECT_EQ(h.status.caption(), "Reconnecting to Live FM\xE2\x80\xA6 (try 2 of 3)");
    ASSERT_TRUE(h.waitFor([&] { return h.player.reopened.size() == 2; }));
    h.player.reportStarted();
    h.player.reportInfo(platform::MediaInfo{"Song", {}, "mp3", {}, 128, 0, 0, 0});

    // Played steadily since: a new drop has every try again.
    h.loop.runUntil([] { return false; }, 450ms);
    h.player.reportEnded();
    EXPECT_EQ(h.status.caption(), "Reconnecting to Live FM\xE2\x80\xA6 (try 1 of 3)");
    ASSERT_TRUE(h.waitFor([&] { return h.player.reopened.size() == 3; }));
    h.player.reportEnded();
    ASSERT_TRUE(h.waitFor([&] { return h.player.reopened.size() == 4; }));
    h.player.reportEnded();
    ASSERT_TRUE(h.waitFor([&] { return h.player.reopened.size() == 5; }));
    h.player.reportEnded();
    EXPECT_EQ(h.status.caption(), "Live FM stopped: the stream ended.");
}

// Catches tries that go on after the user stopped or chose another
// channel, a file (it has a length) or a paused stream reopened when it
// ends, and a timer of a given-up try that still fires.
TEST(PlaybackControllerTest, StopAnotherChannelFilesAndPauseEndTheTries) {
    Harness h;
    h.playLive("Live FM", "http://live.test/stream");
    h.player.reportEnded();
    ASSERT_TRUE(h.playback.reconnecting());
    h.player.reportUserStop();
    EXPECT_FALSE(h.playback.reconnecting());
    EXPECT_EQ(h.status.caption(), "Live FM stopped.");
    h.loop.runUntil([] { return false; }, 300ms);
    EXPECT_TRUE(h.player.reopened.empty());

    h.playLive("Live FM", "http://live.test/stream");
    h.player.reportFailed("connection reset");
    ASSERT_TRUE(h.playback.reconnecting());
    h.playback.playChannel("Other", "http://other.test/", "");
    EXPECT_FALSE(h.playback.reconnecting());
    h.loop.runUntil([] { return false; }, 300ms);
    EXPECT_TRUE(h.player.reopened.empty());
    ASSERT_TRUE(h.fetcher.reply("http://other.test/", kAudio));
    h.player.reportStarted();

    // A channel that is a file: it has a length, and its end is an end.
    h.player.reportInfo(platform::MediaInfo{{}, {}, "mp3", {}, 128, 0, 0, 95.0});
    h.player.reportEnded();
    EXPECT_FALSE(h.playback.reconnecting());

    h.playLive("Live FM", "http://live.test/stream");
    h.player.reportPaused(true);
    EXPECT_EQ(h.playback.nowPlaying().state().state, PlayState::Paused);
    h.player.reportEnded();
    EXPECT_FALSE(h.playback.reconnecting());

    h.playLive("Live FM", "http://live.test/stream");
    h.playback.stopByUser();
    EXPECT_EQ(h.player.log.back(), "stop");
    h.player.reportEnded();  // what the stop itself may bring
    EXPECT_FALSE(h.playback.reconnecting());
    EXPECT_TRUE(h.player.reopened.empty());
}

// Catches the last frame of a TV channel left standing under a radio, a
// panel that never learns the station's title, a stream title missing from
// the status line, and a picture hidden behind the panel.
TEST(PlaybackControllerTest, PanelAndStatusFollowWhatPlays) {
    Harness h;
    h.playback.playChannel("News TV", "http://tv.test/", "");
    ASSERT_TRUE(h.fetcher.reply("http://tv.test/", kAudio));
    EXPECT_TRUE(h.player.panel().shown) << "while it opens, nothing of the last medium shows";
    h.player.reportStarted();
    h.player.reportInfo(platform::MediaInfo{{}, {}, "aac", "h264", 2400, 1280, 720, 0});
    EXPECT_FALSE(h.player.panel().shown);
    EXPECT_EQ(h.status.caption(),
              "Playing News TV (h264, 1280\xC3\x97"
              "720, 2400 kbit/s)");
    EXPECT_TRUE(h.playback.nowPlaying().state().keepScreenAwake());

    h.playback.playChannel("Jazz Radio", "http://radio.test/", "");
    EXPECT_FALSE(h.player.panel().shown) << "the TV plays on while the radio is probed";
    ASSERT_TRUE(h.fetcher.reply("http://radio.test/", kAudio));
    EXPECT_EQ(h.player.panel(), (platform::PlayerPanel{true, "Jazz Radio", ""}));
    h.player.reportStarted();
    h.player.reportInfo(platform::MediaInfo{{}, {}, "mp3", {}, 128, 0, 0, 0});
    EXPECT_EQ(h.player.panel(), (platform::PlayerPanel{true, "Jazz Radio", ""}));
    EXPECT_FALSE(h.playback.nowPlaying().state().keepScreenAwake());
    h.player.reportInfo(platform::MediaInfo{"Miles Davis - So What", {}, "mp3", {}, 128, 0, 0, 0});
    EXPECT_EQ(h.player.panel(), (platform::PlayerPanel{true, "Jazz Radio", "Miles Davis - So What"}));
    EXPECT_EQ(h.status.caption(), "Playing Jazz Radio: Miles Davis - So What (mp3, 128 kbit/s)");
    EXPECT_EQ(h.playback.nowPlaying().state().streamTitle, "Miles Davis - So What");

    h.playback.playChannel("News TV", "http://tv.test/", "");
    ASSERT_TRUE(h.fetcher.reply("http://tv.test/", kAudio));
    h.player.reportStarted();
    h.player.reportInfo(platform::MediaInfo{{}, {}, "aac", "h264", 2400, 1280, 720, 0});
    ASSERT_FALSE(h.player.panel().shown);
    h.player.reportUserStop();
    EXPECT_EQ(h.player.panel(), (platform::PlayerPanel{true, "News TV", ""})) << "Stop leaves no frame";
    EXPECT_FALSE(h.playback.nowPlaying().state().keepScreenAwake());
}

}  // namespace
}  // namespace cd::playback
