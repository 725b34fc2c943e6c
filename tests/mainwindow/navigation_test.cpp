#include "mainwindow/navigation.h"

#include <gtest/gtest.h>

#include "catalogue/line_cipher.h"
#include "localization/message_table.h"
#include "platform/memory_settings_store.h"
#include "platform/poll_event_loop.h"
#include "support/fakes.h"
#include "support/scripted_fetcher.h"
#include "support/sent_reports.h"
#include "support/temp_dir.h"

namespace cd::mainwindow {
namespace {

using platform::Answer;

std::string catalogue(std::initializer_list<std::string> plainLines) {
    std::string out;
    for (const auto& l : plainLines) out += catalogue::EncodeLine(l) + "\r\n";
    return out;
}

const std::string kOk = "http://one.test/ok";
const std::string kGone = "http://two.test/gone";
const std::string kSlow = "http://three.test/slow";

const test::ScriptedReply kStream{200, "audio/mpeg", {}, "ID3\x04 stream bytes"};
const test::ScriptedReply kNotFound{404, "text/html", {}, "<html>not found</html>"};

struct Fixture {
    test::TempDir dir;
    ui::MainWindow form;
    catalogue::NavigationState state;
    platform::MemorySettingsStore settings;
    test::FakeDialogs dialogs;
    test::FakePlayer player;
    localization::MessageTable messages{platform::VersionInfo{"ChannelDeck", "Quenmark Software", "x", 1, 0, 0}};
    test::ScriptedFetcher fetcher;
    fetch::Reporter reporter{fetcher, "catalogue.test"};
    platform::PollEventLoop loop;
    playback::PlaybackController playback{
        loop, fetcher, reporter, player, {*form.offlinePicture, *form.playerStatus}, messages};
    std::unique_ptr<catalogue::CategoryView> view;
    std::unique_ptr<Navigation> nav;
    std::vector<std::string> websiteRequests;
    int videoTabOpened = 0;

    Fixture() {
        localization::addDefaultMessages(messages);
        view = std::make_unique<catalogue::CategoryView>(form, state, settings, dialogs, messages, dir.path(),
                                                         "ChannelDeck");
        NavigationHooks hooks;
        hooks.openWebsite = [this](const std::string& r) { websiteRequests.push_back(r); };
        hooks.openVideoTab = [this] { ++videoTabOpened; };
        nav = std::make_unique<Navigation>(form, state, *view, settings, dialogs, playback, std::move(hooks));
    }

    void writeCatalogue() {
        dir.write(
            "Data.txt",
            catalogue({"One|" + kOk + "|TV|English", "Two|" + kGone + "|TV|German", "Three|" + kSlow + "|Radio|English",
                       "Four|mms://example.invalid/x|XXX|English", "Five|file:///etc/passwd|XXX|German"}));
    }
    void selectRow(const std::string& name) {
        for (int i = 0; i < form.channelList->count(); ++i)
            if (form.channelList->item(i).text == name) form.channelList->select(i);
    }
    void click(const std::string& name) {
        selectRow(name);
        nav->playSelectedChannel();
    }
    std::vector<test::SentReport> reports() const { return test::sentReports(fetcher); }
};

// Catches a switch that shows the wrong panel or forgets the category's saved language.
TEST(Navigation, CategorySwitchShowsChannelsWithSavedLanguage) {
    Fixture f;
    f.writeCatalogue();
    f.settings.set("TVLang", "All");
    f.nav->showTv();
    EXPECT_TRUE(f.form.channelPanel->visible());
    EXPECT_FALSE(f.form.favouritesPanel->visible());
    EXPECT_TRUE(f.form.player->visible());
    EXPECT_FALSE(f.form.videoPage->visible());
    EXPECT_EQ(f.state.currentCategory, "TV");
    EXPECT_EQ(f.form.channelList->count(), 2);
    f.nav->showRadio();  // no RadioLang saved: English
    EXPECT_EQ(f.state.currentLanguage, "English");
    EXPECT_EQ(f.form.channelList->count(), 1);
}

// Catches Favorites / My Files disturbing the list, the category or the playing medium.
TEST(Navigation, FavouritesAndFilesLeaveListAndPlayerAlone) {
    Fixture f;
    f.writeCatalogue();
    f.settings.set("TVLang", "All");
    f.nav->showTv();
    f.nav->showFavourites();
    EXPECT_TRUE(f.form.favouritesPanel->visible());
    EXPECT_FALSE(f.form.channelPanel->visible());
    f.nav->chooseCategoryMenuItem(4);
    EXPECT_TRUE(f.form.filesPanel->visible());
    EXPECT_EQ(f.form.channelList->count(), 2);
    EXPECT_EQ(f.state.currentCategory, "TV");
    EXPECT_TRUE(f.player.log.empty());
}

// Catches an adult switch without consent, or a consent that is remembered.
TEST(Navigation, AdultNeedsConsentEveryTime) {
    Fixture f;
    f.writeCatalogue();
    f.settings.set("TVLang", "All");
    f.nav->showTv();
    f.dialogs.answers = {Answer::Cancel};
    f.nav->showAdultAfterConsent();
    EXPECT_EQ(f.state.currentCategory, "TV");
    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    EXPECT_EQ(f.dialogs.shown[0].title, "Adult Material");
    EXPECT_EQ(f.dialogs.shown[0].buttons, platform::Buttons::OKCancel);
    EXPECT_NE(f.dialogs.shown[0].text.find("purjury, that you are legal age"), std::string::npos);
    EXPECT_NE(f.dialogs.shown[0].text.find("section.\r\n\r\nBy the act"), std::string::npos);
    f.settings.set("VideoLang", "English");
    f.dialogs.answers = {Answer::OK};
    f.nav->chooseCategoryMenuItem(7);
    EXPECT_EQ(f.state.currentCategory, "XXX");
    EXPECT_EQ(f.form.channelList->count(), 1) << "the adult category reads Video's language";
    f.nav->showAdultAfterConsent();
    EXPECT_EQ(f.dialogs.shown.size(), 3u);
}

// Catches an online channel not played, or an offline one played or not
// reported, and a click that waits for its probe instead of returning.
TEST(Navigation, ChannelClickPlaysOnlineAndReportsOffline) {
    Fixture f;
    f.writeCatalogue();
    f.settings.set("TVLang", "All");
    f.nav->showTv();
    f.click("One");
    EXPECT_TRUE(f.player.urls.empty()) << "the click returned while its probe is on its way";
    EXPECT_EQ(f.form.playerStatus->caption(), "Connecting to One\xE2\x80\xA6");
    ASSERT_TRUE(f.fetcher.reply(kOk, kStream));
    EXPECT_EQ(f.player.urls, (std::vector<std::string>{kOk}));
    EXPECT_EQ(f.form.playerStatus->caption(), "Playing One");
    EXPECT_FALSE(f.form.offlinePicture->visible());

    f.click("Two");
    ASSERT_TRUE(f.fetcher.reply(kGone, kNotFound));
    EXPECT_EQ(f.player.urls.size(), 1u);
    EXPECT_TRUE(f.form.offlinePicture->visible());
    EXPECT_EQ(f.form.playerStatus->caption(), "Two is offline: the stream was not found.");
    EXPECT_EQ(f.reports(),
              (std::vector<test::SentReport>{{"OFFLINE", "", "http[colon][slash][slash]two.test[slash]gone"}}));
}

// Catches the older of two clicks playing its channel over the one the user
// chose last (or its probe left running), and its verdict reported.
TEST(Navigation, LastClickWinsAndTheEarlierProbeIsCancelled) {
    Fixture f;
    f.writeCatalogue();
    f.settings.set("TVLang", "All");
    f.nav->showTv();
    f.click("Two");
    f.click("One");
    EXPECT_EQ(f.fetcher.cancelled, (std::vector<std::string>{kGone}));
    EXPECT_FALSE(f.fetcher.reply(kGone, kNotFound)) << "nothing waits for the older answer";
    ASSERT_TRUE(f.fetcher.reply(kOk, kStream));
    EXPECT_EQ(f.player.urls, (std::vector<std::string>{kOk}));
    EXPECT_FALSE(f.form.offlinePicture->visible());
    EXPECT_TRUE(f.reports().empty());

    f.click("One");
    f.click("Two");
    ASSERT_TRUE(f.fetcher.reply(kGone, kNotFound));
    EXPECT_TRUE(f.form.offlinePicture->visible()) << "the offline verdict of the last click stands";
    EXPECT_EQ(f.player.urls.size(), 1u);
    EXPECT_EQ(f.reports().size(), 1u);
}

// Catches a category switch during a probe cancelling the click: switching
// the list leaves playback alone, so the channel still plays.
TEST(Navigation, CategorySwitchDuringAProbeLetsTheChannelPlay) {
    Fixture f;
    f.writeCatalogue();
    f.nav->showRadio();
    f.click("Three");
    f.nav->showTv();
    ASSERT_TRUE(f.fetcher.reply(kSlow, kStream));
    EXPECT_EQ(f.player.urls, (std::vector<std::string>{kSlow}));
    EXPECT_EQ(f.state.currentCategory, "TV");
}

// Catches a click on a sorted list playing the address of the record at the
// row's unsorted place, or the editor's row taken from somewhere else.
TEST(Navigation, SortedListPlaysTheClickedRecordsAddress) {
    Fixture f;
    f.writeCatalogue();
    f.settings.set("TVLang", "All");
    f.nav->showTv();
    ASSERT_TRUE(f.form.channelList->showsRecords());
    f.form.channelList->setSortKey(0);
    f.form.channelList->setSortOrder(ui::SortOrder::Descending);
    f.form.channelList->setSorted(true);
    ASSERT_EQ(f.form.channelList->text(0), "Two");
    f.form.channelList->select(0);
    f.nav->playSelectedChannel();
    EXPECT_EQ(f.form.playerStatus->caption(), "Connecting to Two\xE2\x80\xA6");
    ASSERT_TRUE(f.fetcher.reply(kGone, kStream));
    EXPECT_EQ(f.player.urls, (std::vector<std::string>{kGone}));
}

// Catches the player's own protocols probed over http (and called dead),
// other schemes played, and a click on nothing doing anything.
TEST(Navigation, SchemesOutsideTheWebAndNoSelection) {
    Fixture f;
    f.writeCatalogue();
    f.nav->playSelectedChannel();
    EXPECT_TRUE(f.player.urls.empty());
    EXPECT_TRUE(f.fetcher.started.empty());
    f.settings.set("VideoLang", "All");
    f.dialogs.answers = {Answer::OK};
    f.nav->showAdultAfterConsent();
    f.click("Four");
    EXPECT_EQ(f.player.urls, (std::vector<std::string>{"mms://example.invalid/x"}));
    EXPECT_TRUE(f.fetcher.started.empty()) << "no http probe of an mms address";
    f.player.reportFailed("unrecognized file format");
    EXPECT_TRUE(f.form.offlinePicture->visible()) << "the player decides that it is offline";
    EXPECT_EQ(f.form.playerStatus->caption(), "Four is offline: unrecognized file format.");
    EXPECT_TRUE(f.reports().empty()) << "and it is not reported";

    f.click("Five");
    EXPECT_EQ(f.player.urls.size(), 1u);
    EXPECT_TRUE(f.form.offlinePicture->visible());
    ASSERT_EQ(f.reports().size(), 1u);
    EXPECT_EQ(f.reports()[0].item.substr(0, 12), "file[colon][");
}

// Catches "Don't Load Video While Editing" not stopping playback.
TEST(Navigation, TickedChkLoadStopsTheClick) {
    Fixture f;
    f.writeCatalogue();
    f.settings.set("TVLang", "All");
    f.nav->showTv();
    f.form.dontLoadWhileEditingCheck->setChecked(true);
    f.click("One");
    EXPECT_TRUE(f.player.urls.empty());
    EXPECT_TRUE(f.fetcher.started.empty());
}

// Catches Extras asking for a page nobody opens, Live Sports opening
// anything but the sports listing, and the menu entries going elsewhere.
TEST(Navigation, WebsiteRequestsAndVideoTab) {
    Fixture f;
    f.nav->chooseCategoryMenuItem(6);
    f.nav->openExtras();
    f.nav->openWebsite();
    EXPECT_EQ(f.websiteRequests, (std::vector<std::string>{"Website", "Website", "Website"}));
    f.nav->chooseCategoryMenuItem(8);
    EXPECT_EQ(f.videoTabOpened, 1);
    EXPECT_EQ(f.form.videoKindBox->text(), "Featured");
    f.nav->openSports();
    EXPECT_EQ(f.videoTabOpened, 2);
    EXPECT_EQ(f.form.videoKindBox->text(), "Sports");
    f.form.videoKindBox->setText("Featured");
    f.nav->chooseCategoryMenuItem(5);
    EXPECT_EQ(f.videoTabOpened, 3);
    EXPECT_EQ(f.form.videoKindBox->text(), "Sports");
    EXPECT_EQ(f.websiteRequests.size(), 3u);
}

}  // namespace
}  // namespace cd::mainwindow
