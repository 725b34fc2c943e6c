#include "playback/playback_controller.h"

#include <gtest/gtest.h>

#include "support/fakes.h"
#include "support/scripted_fetcher.h"
#include "support/sent_reports.h"

namespace cd::playback {
namespace {

struct Harness {
    ui::Control offline{"Image", "imgOffline"};
    ui::Control status{"StatusLine", "PlayerStatus"};
    test::FakePlayer player;
    test::ScriptedFetcher fetcher;
    fetch::Reporter reporter{fetcher, "catalogue.test"};
    localization::MessageTable messages{platform::VersionInfo{"ChannelDeck", "Q", "x", 1, 0, 0}};
    PlaybackController playback{fetcher, reporter, player, {offline, status}, messages};
    Harness() { localization::addDefaultMessages(messages); }
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

    h.playback.playChannel("Radio", "http://radio.test/", "");
    ASSERT_TRUE(h.fetcher.reply("http://radio.test/", test::ScriptedReply{200, "audio/aac", {}, "xx"}));
    EXPECT_EQ(h.player.urls.back(), "http://radio.test/");
    h.player.reportFailed("audio codec not supported");
    EXPECT_FALSE(h.offline.visible());
    EXPECT_EQ(h.status.caption(), "Radio could not be played: audio codec not supported.");
    EXPECT_EQ(test::sentReports(h.fetcher).size(), 1u) << "only the 404 was reported";
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

}  // namespace
}  // namespace cd::playback
