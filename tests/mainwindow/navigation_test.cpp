#include "mainwindow/navigation.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

#include "catalogue/line_cipher.h"
#include "localization/message_table.h"
#include "platform/memory_settings_store.h"
#include "support/fakes.h"
#include "support/loopback_server.h"
#include "support/temp_dir.h"

namespace cd::mainwindow {
namespace {

using platform::Answer;

std::string catalogue(std::initializer_list<std::string> plainLines) {
    std::string out;
    for (const auto& l : plainLines) out += catalogue::EncodeLine(l) + "\r\n";
    return out;
}

struct Fixture {
    test::TempDir dir;
    ui::Form1 form;
    catalogue::NavigationState state;
    platform::MemorySettingsStore settings;
    test::FakeDialogs dialogs;
    test::FakeEventPump pump;
    test::FakePlayer player;
    localization::MessageTable messages{platform::VersionInfo{"ChannelDeck", "Quenmark Software", "x", 1, 0, 0}};
    fetch::HttpFetcher fetcher{pump};
    test::LoopbackServer server;
    std::unique_ptr<fetch::Reporter> reporter;
    std::unique_ptr<catalogue::CategoryView> view;
    std::unique_ptr<Navigation> nav;
    std::vector<std::string> reports;
    std::vector<std::string> websiteRequests;
    int videoTabOpened = 0;

    Fixture() {
        localization::addDefaultMessages(messages);
        server.server().Get("/webtv/getData.asp", [this](const httplib::Request& req, httplib::Response& res) {
            reports.push_back(req.get_param_value("strType") + " " + req.get_param_value("strItem"));
            res.set_content("ok", "text/plain");
        });
        server.server().Get("/ok", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("#EXTM3U\r\nstream", "audio/x-mpegurl");
        });
        server.server().Get("/gone", [](const httplib::Request&, httplib::Response& res) {
            res.status = 404;
            res.set_content("<html>not found</html>", "text/html");
        });
        server.server().Get("/endless", [](const httplib::Request&, httplib::Response& res) {
            res.set_chunked_content_provider("audio/mpeg", [](size_t, httplib::DataSink& sink) {
                static const std::string chunk(4096, 'x');
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
                return sink.write(chunk.data(), chunk.size());
            });
        });
        server.start();
        reporter = std::make_unique<fetch::Reporter>(fetcher, server.host());
        view = std::make_unique<catalogue::CategoryView>(form, state, settings, dialogs, messages, dir.path(),
                                                         "ChannelDeck");
        NavigationHooks hooks;
        hooks.openWebsite = [this](const std::string& r) { websiteRequests.push_back(r); };
        hooks.openVideoTab = [this] { ++videoTabOpened; };
        nav = std::make_unique<Navigation>(form, state, *view, settings, dialogs, fetcher, *reporter, player,
                                           std::move(hooks));
    }

    void writeCatalogue() {
        dir.write("Data.txt", catalogue({"One|" + server.url("/ok") + "|TV|English",
                                         "Two|" + server.url("/gone") + "|TV|German",
                                         "Three|" + server.url("/endless") + "|Radio|English",
                                         "Four|mms://example.invalid/x|XXX|English"}));
    }
    void selectRow(const std::string& name) {
        for (int i = 0; i < form.ListView1->count(); ++i)
            if (form.ListView1->item(i).text == name) form.ListView1->select(i);
    }
};

// Catches a switch that shows the wrong panel or forgets the category's saved language.
TEST(Navigation, CategorySwitchShowsChannelsWithSavedLanguage) {
    Fixture f;
    f.writeCatalogue();
    f.settings.set("TVLang", "All");
    f.nav->cmdTV_Click();
    EXPECT_TRUE(f.form.Frame1->visible());
    EXPECT_FALSE(f.form.Frame3->visible());
    EXPECT_TRUE(f.form.WindowsMediaPlayer1->visible());
    EXPECT_FALSE(f.form.wbyoutube->visible());
    EXPECT_EQ(f.state.currentCategory, "TV");
    EXPECT_EQ(f.form.ListView1->count(), 2);
    f.nav->cmdRadio_Click();  // no RadioLang saved: English
    EXPECT_EQ(f.state.currentLanguage, "English");
    EXPECT_EQ(f.form.ListView1->count(), 1);
}

// Catches Favorites / My Files disturbing the list, the category or the playing medium.
TEST(Navigation, FavouritesAndFilesLeaveListAndPlayerAlone) {
    Fixture f;
    f.writeCatalogue();
    f.settings.set("TVLang", "All");
    f.nav->cmdTV_Click();
    f.nav->cmdFavorites_Click();
    EXPECT_TRUE(f.form.Frame3->visible());
    EXPECT_FALSE(f.form.Frame1->visible());
    f.nav->mnuCatItem_Click(4);
    EXPECT_TRUE(f.form.Frame4->visible());
    EXPECT_EQ(f.form.ListView1->count(), 2);
    EXPECT_EQ(f.state.currentCategory, "TV");
    EXPECT_TRUE(f.player.log.empty());
}

// Catches an adult switch without consent, or a consent that is remembered.
TEST(Navigation, AdultNeedsConsentEveryTime) {
    Fixture f;
    f.writeCatalogue();
    f.settings.set("TVLang", "All");
    f.nav->cmdTV_Click();
    f.dialogs.answers = {Answer::Cancel};
    f.nav->cmdXXX_Click();
    EXPECT_EQ(f.state.currentCategory, "TV");
    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    EXPECT_EQ(f.dialogs.shown[0].title, "Adult Material");
    EXPECT_EQ(f.dialogs.shown[0].buttons, platform::Buttons::OKCancel);
    EXPECT_NE(f.dialogs.shown[0].text.find("purjury, that you are legal age"), std::string::npos);
    EXPECT_NE(f.dialogs.shown[0].text.find("section.\r\n\r\nBy the act"), std::string::npos);
    f.settings.set("VideoLang", "English");
    f.dialogs.answers = {Answer::OK};
    f.nav->mnuCatItem_Click(7);
    EXPECT_EQ(f.state.currentCategory, "XXX");
    EXPECT_EQ(f.form.ListView1->count(), 1) << "the adult category reads Video's language";
    f.nav->cmdXXX_Click();
    EXPECT_EQ(f.dialogs.shown.size(), 3u);
}

// Catches an online channel not played, or an offline one played or not reported.
TEST(Navigation, ChannelClickPlaysOnlineAndReportsOffline) {
    Fixture f;
    f.writeCatalogue();
    f.settings.set("TVLang", "All");
    f.nav->cmdTV_Click();
    f.selectRow("One");
    f.nav->ListView1_Click();
    ASSERT_EQ(f.player.urls.size(), 1u);
    EXPECT_EQ(f.player.urls[0], f.server.url("/ok"));
    EXPECT_FALSE(f.form.imgOffline->visible());

    f.selectRow("Two");
    f.nav->ListView1_Click();
    EXPECT_EQ(f.player.urls.size(), 1u);
    EXPECT_TRUE(f.form.imgOffline->visible());
    ASSERT_EQ(f.reports.size(), 1u);
    EXPECT_EQ(f.reports[0], "OFFLINE http[colon][slash][slash]127.0.0.1[colon]" +
                                std::to_string(f.server.port()) + "[slash]gone");
}

// Catches a probe that hangs on an endless stream instead of deciding within its bound.
TEST(Navigation, EndlessStreamIsDecidedWithinTheProbeBound) {
    Fixture f;
    f.writeCatalogue();
    f.nav->cmdRadio_Click();
    f.selectRow("Three");
    const auto start = std::chrono::steady_clock::now();
    f.nav->ListView1_Click();
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took, std::chrono::seconds(8));
    ASSERT_EQ(f.player.urls.size(), 1u);
}

// A channel list whose first row keeps its probe waiting, so that a second
// click can run inside it.
void writeSlowFirstCatalogue(Fixture& f) {
    f.dir.write("Data.txt", catalogue({"Slow|" + f.server.url("/endless") + "|TV|English",
                                       "Ok|" + f.server.url("/ok") + "|TV|English",
                                       "Gone|" + f.server.url("/gone") + "|TV|English"}));
    f.settings.set("TVLang", "All");
    f.nav->cmdTV_Click();
}

/// Clicks "Slow", and inside its probe the row named inner.
void clickInsideTheSlowProbe(Fixture& f, const std::string& inner) {
    writeSlowFirstCatalogue(f);
    bool nested = false;
    f.pump.onPump = [&f, &nested, inner] {
        if (nested) return;
        nested = true;
        f.selectRow(inner);
        f.nav->ListView1_Click();
    };
    f.selectRow("Slow");
    f.nav->ListView1_Click();
    f.pump.onPump = nullptr;  // it refers to this function's flag
}

// Catches the outer click of two nested ones playing its channel over the
// channel the user chose last, or reporting it from a probe cut short.
TEST(Navigation, ClickDuringAnotherClicksProbeIsTheOneThatPlays) {
    Fixture f;
    clickInsideTheSlowProbe(f, "Ok");
    EXPECT_EQ(f.player.urls, (std::vector<std::string>{f.server.url("/ok")}));
    EXPECT_FALSE(f.form.imgOffline->visible());
    EXPECT_TRUE(f.reports.empty());
}

// Catches an outer click that plays after a nested click found its channel
// offline (the offline picture would stay over a playing channel).
TEST(Navigation, OfflineVerdictOfTheLastClickStands) {
    Fixture f;
    clickInsideTheSlowProbe(f, "Gone");
    EXPECT_TRUE(f.player.urls.empty());
    EXPECT_TRUE(f.form.imgOffline->visible());
    ASSERT_EQ(f.reports.size(), 1u);
    EXPECT_NE(f.reports[0].find("gone"), std::string::npos);
}

// Catches a category switch inside a probe cancelling the click: switching
// the list leaves playback alone, so the channel still plays.
TEST(Navigation, CategorySwitchDuringAProbeLetsTheChannelPlay) {
    Fixture f;
    writeSlowFirstCatalogue(f);
    f.pump.onPump = [&] {
        if (f.state.currentCategory != "Radio") f.nav->cmdRadio_Click();
    };
    f.selectRow("Slow");
    f.nav->ListView1_Click();
    EXPECT_EQ(f.player.urls, (std::vector<std::string>{f.server.url("/endless")}));
    EXPECT_EQ(f.state.currentCategory, "Radio");
}

// Catches an unsupported scheme being played, or a click on nothing doing anything.
TEST(Navigation, UnsupportedSchemeIsOfflineAndNoSelectionDoesNothing) {
    Fixture f;
    f.writeCatalogue();
    f.nav->ListView1_Click();
    EXPECT_TRUE(f.player.urls.empty());
    EXPECT_TRUE(f.reports.empty());
    f.settings.set("VideoLang", "All");
    f.dialogs.answers = {Answer::OK};
    f.nav->cmdXXX_Click();
    f.selectRow("Four");
    f.nav->ListView1_Click();
    EXPECT_TRUE(f.player.urls.empty());
    EXPECT_TRUE(f.form.imgOffline->visible());
    ASSERT_EQ(f.reports.size(), 1u);
    EXPECT_EQ(f.reports[0].substr(0, 12), "OFFLINE mms[");
}

// Catches "Don't Load Video While Editing" not stopping playback.
TEST(Navigation, TickedChkLoadStopsTheClick) {
    Fixture f;
    f.writeCatalogue();
    f.settings.set("TVLang", "All");
    f.nav->cmdTV_Click();
    f.form.chkLoad->setChecked(true);
    f.selectRow("One");
    f.nav->ListView1_Click();
    EXPECT_TRUE(f.player.urls.empty());
}

// Catches the website buttons passing the wrong request word.
TEST(Navigation, WebsiteRequestsAndVideoTab) {
    Fixture f;
    f.nav->cmdSports_Click();
    f.nav->mnuCatItem_Click(6);
    f.nav->cmdWebsite_Click();
    EXPECT_EQ(f.websiteRequests, (std::vector<std::string>{"Sports", "Extras", "Website"}));
    f.nav->mnuCatItem_Click(8);
    EXPECT_EQ(f.videoTabOpened, 1);
}

}  // namespace
}  // namespace cd::mainwindow
