#include "videosite/video_site.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "catalogue/line_cipher.h"
#include "support/fakes.h"
#include "support/temp_dir.h"
#include "util/lines.h"
#include "videosite/video_server.h"
#include "videosite/video_tables.h"

namespace cd::videosite {
namespace {

namespace fs = std::filesystem;

std::string link(const std::string& id, const std::string& title) {
    return "<div><a href=\"/watch?v=" + id + "\"><img src=\"/t/" + id + ".jpg\"></a><a href=\"/watch?v=" + id +
           "\">" + title + "</a></div>";
}

std::string featured(const std::string& region, int page) {
    return "/browse?s=rf&t=&l=&e=" + region + "&p=" + std::to_string(page);
}

std::string search(const std::string& encodedText, int page) {
    return "/results?search_type=search_videos&search_query=" + encodedText +
           "&search_sort=relevance&search_category=0&search=Search&v=&uploaded=&filter=1&page=" +
           std::to_string(page);
}

std::vector<std::string> titles(const ui::ListView& list) {
    std::vector<std::string> out;
    for (int i = 0; i < list.count(); ++i) out.push_back(list.item(i).text);
    return out;
}

class VideoSiteTest : public ::testing::Test {
protected:
    VideoSiteTest() {
        FillVideoSelectors(form);
        hosts.video = listing.host();
        hosts.videoRegional = searching.host();
        hosts.videoPlayer = "player.example";
    }
    VideoSite& site() {
        if (!site_) {
            site_ = std::make_unique<VideoSite>(form, regionCode, category, fetcher, hosts, dir.path(), page,
                                                favourites);
        }
        return *site_;
    }
    std::vector<std::string> expectedListing(const std::string& region, int pages = kListingPages) const {
        std::vector<std::string> out;
        for (int p = 1; p <= pages; ++p) out.push_back(featured(region, p));
        return out;
    }

    test::TempDir dir;
    test::VideoServer listing;
    test::VideoServer searching;
    platform::Hosts hosts;
    ui::Form1 form;
    std::string regionCode = kStartRegionCode;
    std::string category = "TV";
    test::FakeEventPump pump;
    test::FakePlayer player;
    test::FakeBrowser browser;
    test::FakeDialogs dialogs;
    fetch::HttpFetcher fetcher{pump};
    fetch::Reporter reporter{fetcher, listing.host()};
    VideoPage page{dir.path(), browser, "player.example", dialogs, "ChannelDeck"};
    favourites::Favourites favourites{form,    dir.path(),    player,
                                      fetcher, reporter,      dialogs,
                                      "ChannelDeck", [this](const std::string& t, const std::string& i) {
                                          page.showVideoPage(t, i);
                                      }};
    std::unique_ptr<VideoSite> site_;
};

// Catches the tab opening with the wrong panel, player or category, a
// channel list left filled, or a region other than the start-up one.
TEST_F(VideoSiteTest, OpeningTheTabListsFeaturedInTheStartRegion) {
    ui::ListItem channel;
    channel.text = "Some channel";
    form.ListView1->addItem(channel);
    listing.page(featured("en_us", 1), link("a1", "Alpha"));
    listing.page(featured("en_us", 2), link("b2", "Beta"));

    site().cmdYouTube_Click();

    EXPECT_EQ(listing.targets(), expectedListing("en_us"));
    EXPECT_TRUE(searching.targets().empty());
    EXPECT_FALSE(form.Frame1->visible());
    EXPECT_FALSE(form.Frame3->visible());
    EXPECT_FALSE(form.Frame4->visible());
    EXPECT_TRUE(form.Frame5->visible());
    EXPECT_TRUE(form.wbyoutube->visible());
    EXPECT_FALSE(form.WindowsMediaPlayer1->visible());
    EXPECT_EQ(category, "YOUTUBE");
    EXPECT_EQ(form.ListView1->count(), 0);
    EXPECT_EQ(titles(*form.ListView3), (std::vector<std::string>{"Alpha", "Beta"}));
    EXPECT_EQ(form.ListView3->item(1).key, "b2");
    EXPECT_EQ(form.txtStatus->text().rfind("Downloaded ", 0), 0u);
    EXPECT_FALSE(fs::exists(dir / "youtube.tmp"));
}

// Catches a chosen country not reaching the listing addresses.
TEST_F(VideoSiteTest, ChoosingACountrySetsTheRegionCode) {
    form.Combo4->setText("Japan");
    site().Combo4_Click();
    EXPECT_EQ(regionCode, "ja_JP");
    EXPECT_EQ(listing.targets(), expectedListing("ja_JP"));

    listing.clearTargets();
    form.Combo4->setText("United States");
    site().Combo4_Click();
    EXPECT_EQ(listing.targets(), expectedListing("en_US"));
}

// Catches a text not in the region table clearing or changing the region.
TEST_F(VideoSiteTest, UnknownCountryKeepsTheRegion) {
    regionCode = "fr_FR";
    form.Combo4->setText("Atlantis");
    site().Combo4_Click();
    EXPECT_EQ(regionCode, "fr_FR");
    EXPECT_EQ(listing.targets(), expectedListing("fr_FR"));
}

// Catches the listing kind's path not being used, or Comedy lacking one.
TEST_F(VideoSiteTest, ChosenListingKindGivesItsPath) {
    form.Combo3->setText("Comedy");
    site().Combo3_Click();
    const auto targets = listing.targets();
    ASSERT_EQ(targets.size(), 5u);
    EXPECT_EQ(targets.front(), "/browse?s=mf&t=t&c=23&l=&e=en_us&p=1");
    EXPECT_EQ(targets.back(), "/browse?s=mf&t=t&c=23&l=&e=en_us&p=5");
}

// Catches an older listing that goes on fetching and appending its pages
// after a listing chosen inside its wait: the list must hold the newer one only.
TEST_F(VideoSiteTest, ListingChosenDuringAnotherOneReplacesIt) {
    const std::string comedy = "/browse?s=mf&t=t&c=23&l=&e=en_us&p=";
    for (int p = 1; p <= kListingPages; ++p) {
        listing.page(featured("en_us", p), link("f" + std::to_string(p), "Featured " + std::to_string(p)));
        listing.page(comedy + std::to_string(p), link("c" + std::to_string(p), "Comedy " + std::to_string(p)));
    }
    bool nested = false;
    pump.onPump = [&] {
        if (nested) return;
        nested = true;
        form.Combo3->setText("Comedy");
        site().Combo3_Click();
    };
    site().cmdYouTube_Click();

    EXPECT_EQ(titles(*form.ListView3),
              (std::vector<std::string>{"Comedy 1", "Comedy 2", "Comedy 3", "Comedy 4", "Comedy 5"}));
    const auto targets = listing.targets();
    ASSERT_EQ(targets.size(), 6u) << "the first listing stops after the page it was reading";
    EXPECT_EQ(targets.front(), featured("en_us", 1));
}

// Catches a listing that keeps fetching its pages after the window closed.
TEST_F(VideoSiteTest, AbandonedListingFetchesNoMorePages) {
    for (int p = 1; p <= kListingPages; ++p) listing.page(featured("en_us", p), link("f" + std::to_string(p), "F"));
    pump.onPump = [&] { site().abandonListings(); };
    site().cmdYouTube_Click();
    EXPECT_EQ(listing.targets().size(), 1u);
    EXPECT_EQ(form.ListView3->count(), 0);
}

// Catches a typed kind that is not in the table reaching the server, or
// leaving old rows in the list.
TEST_F(VideoSiteTest, TypedUnknownKindFetchesNothingAndEmptiesTheList) {
    ui::ListItem old;
    old.text = "old row";
    old.key = "old";
    form.ListView3->addItem(old);
    form.Combo3->setText("Cats");
    site().Combo3_Click();
    EXPECT_TRUE(listing.targets().empty());
    EXPECT_EQ(form.ListView3->count(), 0);
}

// Catches rows of later pages replacing earlier ones, or a repeated video
// taking its later title.
TEST_F(VideoSiteTest, PagesAccumulateAndTheFirstPageOfAVideoWins) {
    listing.page(featured("en_us", 1), link("dup", "From page one") + link("p1", "One"));
    listing.page(featured("en_us", 3), link("p3", "Three") + link("dup", "From page three"));
    listing.page(featured("en_us", 5), link("p5", "Five &amp; more"));
    site().loadVideoListing();
    EXPECT_EQ(titles(*form.ListView3),
              (std::vector<std::string>{"From page one", "One", "Three", "Five & more"}));
}

// Catches an unreachable site stopping early or leaving rows behind.
TEST_F(VideoSiteTest, UnreachableSiteTriesEveryPageAndLeavesTheListEmpty) {
    listing.page(featured("en_us", 1), link("a", "A"));
    site().loadVideoListing();
    ASSERT_EQ(form.ListView3->count(), 1);

    listing.page(featured("en_us", 1), "");
    listing.clearTargets();
    site().loadVideoListing();
    EXPECT_EQ(listing.targets(), expectedListing("en_us")) << "empty answers do not stop the page loop";
    EXPECT_EQ(form.ListView3->count(), 0);

    listing.page(featured("en_us", 1), link("a", "A"));
    site().loadVideoListing();
    ASSERT_EQ(form.ListView3->count(), 1);
    listing.stop();
    site().loadVideoListing();
    EXPECT_EQ(form.ListView3->count(), 0);
}

// Catches the search mode entry fetching anything or leaving the kind
// selector shown, and a country not returning to listing mode.
TEST_F(VideoSiteTest, SearchEntrySwitchesModesAndCountryReturns) {
    form.Combo4->setText("SEARCH");
    site().Combo4_Click();
    EXPECT_TRUE(form.txtSearch->visible());
    EXPECT_TRUE(form.cmdSearch->visible());
    EXPECT_FALSE(form.Combo3->visible());
    EXPECT_TRUE(listing.targets().empty());
    EXPECT_TRUE(searching.targets().empty());
    EXPECT_EQ(regionCode, "en_us");

    form.Combo4->setText("search");
    site().Combo4_Click();
    EXPECT_TRUE(form.Combo3->visible()) << "only the exact upper-case text switches";
    EXPECT_FALSE(form.txtSearch->visible());
    EXPECT_FALSE(form.cmdSearch->visible());
    EXPECT_EQ(listing.targets().size(), 5u);
}

// Catches an untouched search box not searching its text, the text not
// being encoded, the wrong host, or fewer than ten pages.
TEST_F(VideoSiteTest, UntouchedSearchBoxSearchesItsTextEncoded) {
    searching.page(search("Enter%20search%20here", 2), link("s2", "Found"));
    site().cmdSearch_Click();
    std::vector<std::string> expected;
    for (int p = 1; p <= kSearchPages; ++p) expected.push_back(search("Enter%20search%20here", p));
    EXPECT_EQ(searching.targets(), expected);
    EXPECT_TRUE(listing.targets().empty());
    EXPECT_EQ(titles(*form.ListView3), (std::vector<std::string>{"Found"}));
}

// Catches "&" or "#" in a search text splitting or ending the query.
TEST_F(VideoSiteTest, SearchTextWithAmpersandStaysOneQueryValue) {
    form.txtSearch->setText("tom & jerry #2");
    site().searchVideos();
    const auto targets = searching.targets();
    ASSERT_EQ(targets.size(), 10u);
    EXPECT_EQ(targets[0], search("tom%20%26%20jerry%20%232", 1));
}

// Catches a click showing a video while editing, or without a selection.
TEST_F(VideoSiteTest, VideoClickShowsThePageUnlessBlocked) {
    listing.page(featured("en_us", 1), link("abc", "My clip"));
    site().loadVideoListing();
    site().ListView3_Click();
    EXPECT_TRUE(browser.navigated2.empty());

    form.ListView3->select(0);
    form.chkLoad->setChecked(true);
    site().ListView3_Click();
    EXPECT_TRUE(browser.navigated2.empty());
    EXPECT_FALSE(fs::exists(dir / "youtube.html"));

    form.chkLoad->setChecked(false);
    site().ListView3_Click();
    ASSERT_EQ(browser.navigated2.size(), 1u);
    EXPECT_NE(dir.read("youtube.html").find("<h1>My clip</h1>"), std::string::npos);
    EXPECT_NE(dir.read("youtube.html").find("http://player.example/v/abc&rel=1"), std::string::npos);
}

// Catches a video favourite saved with the wrong address or fields, other
// menu indices acting, or an action with no selected video.
TEST_F(VideoSiteTest, AddToFavouritesAppendsAndSavesTheVideo) {
    listing.page(featured("en_us", 1), link("v1", "A | B") + link("v2", "Second"));
    site().loadVideoListing();
    site().mnuAction2Item_Click(0);
    EXPECT_EQ(form.ListView2->count(), 0);
    form.ListView3->select(0);
    site().mnuAction2Item_Click(1);
    EXPECT_EQ(form.ListView2->count(), 0);
    site().mnuAction2Item_Click(0);
    site().mnuAction2Item_Click(0);
    ASSERT_EQ(form.ListView2->count(), 2);
    EXPECT_EQ(form.ListView2->item(0).text, "A / B");
    EXPECT_EQ(form.ListView2->item(0).tag, "youtube=v1");
    const auto lines = util::readLines(dir.read("Favorites.txt"));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(catalogue::DecodeLine(lines[0]), "A / B|youtube=v1||");
}

// Catches a saved video favourite not playing its video after a restart.
TEST_F(VideoSiteTest, VideoFavouritePlaysTheSamePageAfterRestart) {
    listing.page(featured("en_us", 1), link("abc", "My clip"));
    site().loadVideoListing();
    form.ListView3->select(0);
    site().ListView3_Click();
    const std::string fromList = dir.read("youtube.html");
    site().mnuAction2Item_Click(0);

    ui::Form1 restarted;
    favourites::Favourites again(restarted, dir.path(), player, fetcher, reporter, dialogs, "ChannelDeck",
                                 [this](const std::string& t, const std::string& i) { page.showVideoPage(t, i); });
    again.LoadFavorites();
    ASSERT_EQ(restarted.ListView2->count(), 1);
    fs::remove(dir / "youtube.html");
    restarted.ListView2->select(0);
    again.ListView2_Click();
    EXPECT_EQ(dir.read("youtube.html"), fromList);
    EXPECT_TRUE(player.urls.empty());
}

}  // namespace
}  // namespace cd::videosite
