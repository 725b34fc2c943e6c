#include "playback/player_controls.h"

#include <gtest/gtest.h>

#include "platform/memory_settings_store.h"
#include "platform/poll_event_loop.h"
#include "support/fakes.h"
#include "support/scripted_fetcher.h"

namespace cd::playback {
namespace {

struct Harness {
    Harness() { localization::addDefaultMessages(messages); }

    void playFile(double duration) {
        playback.supersede();
        player.reportStarted();
        player.reportInfo(platform::MediaInfo{{}, "film.mkv", "aac", "h264", 900, 640, 360, duration});
    }

    ui::Control offline{"Image", "imgOffline"};
    ui::Control status{"StatusLine", "PlayerStatus"};
    platform::PollEventLoop loop;
    test::FakePlayer player;
    test::ScriptedFetcher fetcher;
    fetch::Reporter reporter{fetcher, "catalogue.test"};
    localization::MessageTable messages{platform::VersionInfo{"ChannelDeck", "Q", "x", 1, 0, 0}};
    platform::MemorySettingsStore settings;
    PlaybackController playback{loop, fetcher, reporter, player, {offline, status}, messages};
    PlayerControls controls{player, playback, settings};
};

// Catches keys taken from text fields, Space and the arrows stolen from the
// lists, seeking in a live stream, Escape taken when there is no full
// screen, and Ctrl combinations read as the plain key.
TEST(PlayerControlsTest, KeysActOnlyWhereTheyBelongToThePlayer) {
    Harness h;
    h.playFile(120);
    for (PlayerKey key : {PlayerKey::Space, PlayerKey::Left, PlayerKey::M, PlayerKey::F, PlayerKey::Up})
        EXPECT_FALSE(h.controls.keyPressed(key, key == PlayerKey::Up, KeyPlace::TextField));
    EXPECT_FALSE(h.controls.keyPressed(PlayerKey::Space, false, KeyPlace::Window));
    EXPECT_FALSE(h.controls.keyPressed(PlayerKey::Right, false, KeyPlace::Window));
    EXPECT_FALSE(h.controls.keyPressed(PlayerKey::Up, false, KeyPlace::Player)) << "Up alone is not the volume";
    EXPECT_FALSE(h.controls.keyPressed(PlayerKey::Escape, false, KeyPlace::Player));
    EXPECT_FALSE(h.controls.keyPressed(PlayerKey::M, true, KeyPlace::Window));
    EXPECT_TRUE(h.player.log.size() == 0 || h.player.log.back() != "pause");
    EXPECT_TRUE(h.player.seeks.empty());

    EXPECT_TRUE(h.controls.keyPressed(PlayerKey::Space, false, KeyPlace::Player));
    EXPECT_EQ(h.player.log.back(), "pause");
    h.player.reportPaused(true);
    EXPECT_TRUE(h.controls.keyPressed(PlayerKey::Space, false, KeyPlace::FullScreen));
    EXPECT_EQ(h.player.log.back(), "play");
    EXPECT_TRUE(h.controls.keyPressed(PlayerKey::Right, false, KeyPlace::Player));
    EXPECT_TRUE(h.controls.keyPressed(PlayerKey::Left, false, KeyPlace::FullScreen));
    EXPECT_EQ(h.player.seeks, (std::vector<double>{10.0, -10.0}));

    EXPECT_TRUE(h.controls.keyPressed(PlayerKey::M, false, KeyPlace::Window));
    EXPECT_TRUE(h.player.muted);
    EXPECT_TRUE(h.controls.keyPressed(PlayerKey::M, false, KeyPlace::Player));
    EXPECT_FALSE(h.player.muted);
    EXPECT_TRUE(h.controls.keyPressed(PlayerKey::Up, true, KeyPlace::Window));
    EXPECT_TRUE(h.controls.keyPressed(PlayerKey::Up, true, KeyPlace::Window));
    EXPECT_EQ(h.player.volume, 60) << "two steps of 5 from 50";
    EXPECT_TRUE(h.controls.keyPressed(PlayerKey::F, false, KeyPlace::Window));
    EXPECT_TRUE(h.player.fullScreen);
    EXPECT_TRUE(h.playback.nowPlaying().state().fullScreen);
    EXPECT_TRUE(h.controls.keyPressed(PlayerKey::Escape, false, KeyPlace::FullScreen));
    EXPECT_FALSE(h.player.fullScreen);

    // A live stream has no length: the arrows are not the player's.
    h.playFile(0);
    EXPECT_FALSE(h.controls.keyPressed(PlayerKey::Right, false, KeyPlace::Player));
    h.controls.seekBy(30);
    EXPECT_EQ(h.player.seeks.size(), 2u);
}

// Catches a volume that is not restored, not saved, saved before it was
// restored (the player's start volume over the user's), one that leaves
// 0 to 100, and a damaged stored value taken as it is.
TEST(PlayerControlsTest, VolumeAndMuteAreKeptInTheSettings) {
    Harness h;
    h.settings.set(kVolumeKey, "35");
    h.settings.set(kMuteKey, "1");
    h.player.setVolume(50);  // the player's own start volume, told before the restore
    EXPECT_EQ(h.settings.get(kVolumeKey, ""), "35");
    h.controls.restoreVolume();
    EXPECT_EQ(h.player.volume, 35);
    EXPECT_TRUE(h.player.muted);

    for (int i = 0; i < 10; ++i) h.controls.changeVolume(-5);
    EXPECT_EQ(h.player.volume, 0);
    EXPECT_EQ(h.settings.get(kVolumeKey, ""), "0");
    h.controls.setVolume(140);
    EXPECT_EQ(h.player.volume, 100);
    h.controls.toggleMute();
    EXPECT_EQ(h.settings.get(kVolumeKey, ""), "100");
    EXPECT_EQ(h.settings.get(kMuteKey, ""), "0");

    for (const char* damaged : {"", "loud", "-3", "101", "40%"}) {
        Harness again;
        again.settings.set(kVolumeKey, damaged);
        again.controls.restoreVolume();
        EXPECT_EQ(again.player.volume, 50) << damaged;
        EXPECT_FALSE(again.player.muted);
    }
}

// Catches a stop from the keys or media keys that leaves a dropped stream's
// tries running, and play/pause that ignore what the player does now.
TEST(PlayerControlsTest, StopPlayAndPauseGoThroughThePlayback) {
    Harness h;
    h.playback.playChannel("Live FM", "http://live.test/", "");
    ASSERT_TRUE(h.fetcher.reply("http://live.test/", test::ScriptedReply{200, "audio/mpeg", {}, "ID3"}));
    h.player.reportStarted();
    h.player.reportEnded();
    ASSERT_TRUE(h.playback.reconnecting());
    h.controls.stop();
    EXPECT_FALSE(h.playback.reconnecting());
    EXPECT_EQ(h.player.log.back(), "stop");
    h.controls.pause();
    EXPECT_EQ(h.player.log.back(), "stop") << "nothing plays: nothing to pause";
    h.controls.togglePause();
    EXPECT_EQ(h.player.log.back(), "play") << "after a stop, play starts it again";
}

}  // namespace
}  // namespace cd::playback
