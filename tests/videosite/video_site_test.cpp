#include "videosite/video_site.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "catalogue/line_cipher.h"
#include "support/fakes.h"
#include "support/scripted_fetcher.h"
#include "support/temp_dir.h"
#include "util/lines.h"
#include "videosite/video_tables.h"

namespace cd::videosite {
namespace {

namespace fs = std::filesystem;

std::string link(const std::string& id, const std::string& title) {
    return "<div><a href=\"/watch?v=" + id + "\"><img src=\"/t/" + id + ".jpg\"></a><a href=\"/watch?v=" + id + "\">" +
           title + "</a></div>";
}

std::string featured(const std::string& region, int page) {
    return "/browse?s=rf&t=&l=&e=" + region + "&p=" + std::to_string(page);
}

std::string search(const std::string& encodedText, int page) {
    return "/results?search_type=search_videos&search_query=" + encodedText +
           "&search_sort=relevance&search_category=0&search=Search&v=&uploaded=&filter=1&page=" + std::to_string(page);
}

std::vector<std::string> titles(const ui::ListView& list) {
    std::vector<std::string> out;
    for (int i = 0; i < list.count(); ++i) out.push_back(list.item(i).text);
    return out;
}

// A video site behind the scripted fetcher: the page registered for each
// target (path and query as sent), an empty page for any other.
struct FakeSite {
    std::string host;
    std::map<std::string, std::string> pages;
};

class VideoSiteTest : public ::testing::Test {
protected:
    VideoSiteTest() {
        FillVideoSelectors(form);
        hosts.video = listing.host;
        hosts.videoRegional = searching.host;
        hosts.videoPlayer = "player.example";
    }
    VideoSite& site() {
        if (!site_) {
            site_ =
                std::make_unique<VideoSite>(form, regionCode, category, fetcher, hosts, dir.path(), page, favourites);
        }
        return *site_;
    }
    std::vector<std::string> expectedListing(const std::string& region, int pages = kListingPages) const {
        std::vector<std::string> out;
        for (int p = 1; p <= pages; ++p) out.push_back(featured(region, p));
        return out;
    }
    /// The targets fetched from site so far, in order.
    std::vector<std::string> fetched(const FakeSite& site) const {
        const std::string prefix = "http://" + site.host;
        std::vector<std::string> out;
        for (const auto& a : fetcher.started)
            if (a.rfind(prefix, 0) == 0) out.push_back(a.substr(prefix.size()));
        return out;
    }
    /// Answers every fetch as the sites would, the pages that follow too.
    void serve(fetch::FetchError siteError = fetch::FetchError::None) {
        while (fetcher.pendingCount() > 0) {
            const std::string address = fetcher.pendingAddresses().front();
            test::ScriptedReply reply;
            reply.contentType = "text/html";
            for (const FakeSite* s : {&listing, &searching}) {
                const std::string prefix = "http://" + s->host;
                if (address.rfind(prefix, 0) != 0) continue;
                const auto it = s->pages.find(address.substr(prefix.size()));
                if (it != s->pages.end()) reply.body = it->second;
            }
            if (siteError != fetch::FetchError::None) {
                reply.headArrives = false;
                reply.error = siteError;
            }
            fetcher.reply(address, reply);
        }
    }

    test::TempDir dir;
    FakeSite listing{"listing.test", {}};
    FakeSite searching{"search.test", {}};
    platform::Hosts hosts;
    ui::MainWindow form;
    std::string regionCode = kStartRegionCode;
    std::string category = "TV";
    test::FakeBrowser browser;
    test::FakeDialogs dialogs;
    test::ScriptedFetcher fetcher;
    fetch::Reporter reporter{fetcher, "catalogue.test"};
    VideoPage page{dir.path(), browser, "player.example", dialogs, "ChannelDeck"};
    std::vector<std::string> playedChannels;
    favourites::Favourites favourites{
        form,
        dir.path(),
        [this](const std::string&, const std::string& a, const std::string&) { playedChannels.push_back(a); },
        reporter,
        dialogs,
        "ChannelDeck",
        [this](const std::string& t, const std::string& i) { page.showVideoPage(t, i); }};
    std::unique_ptr<VideoSite> site_;
};

// Catches the tab opening with the wrong panel, player or category, a
// channel list left filled, or a region other than the start-up one.
TEST_F(VideoSiteTest, OpeningTheTabListsFeaturedInTheStartRegion) {
    ui::ListItem channel;
    channel.text = "Some channel";
    form.channelList->addItem(channel);
    listing.pages[featured("en_us", 1)] = link("a1", "Alpha");
    listing.pages[featured("en_us", 2)] = link("b2", "Beta");

    site().openVideoSite();

    serve();

    EXPECT_EQ(fetched(listing), expectedListing("en_us"));
    EXPECT_TRUE(fetched(searching).empty());
    EXPECT_FALSE(form.channelPanel->visible());
    EXPECT_FALSE(form.favouritesPanel->visible());
    EXPECT_FALSE(form.filesPanel->visible());
    EXPECT_TRUE(form.videoSitePanel->visible());
    EXPECT_TRUE(form.videoPage->visible());
    EXPECT_FALSE(form.player->visible());
    EXPECT_EQ(category, "YOUTUBE");
    EXPECT_EQ(form.channelList->count(), 0);
    EXPECT_EQ(titles(*form.videoList), (std::vector<std::string>{"Alpha", "Beta"}));
    EXPECT_EQ(form.videoList->item(1).key, "b2");
    EXPECT_EQ(form.videoStatus->text().rfind("Downloaded ", 0), 0u);
    EXPECT_FALSE(fs::exists(dir / "youtube.tmp"));
}

// Catches a chosen country not reaching the listing addresses.
TEST_F(VideoSiteTest, ChoosingACountrySetsTheRegionCode) {
    form.videoCountryBox->setText("Japan");
    site().chooseCountry();
    serve();
    EXPECT_EQ(regionCode, "ja_JP");
    EXPECT_EQ(fetched(listing), expectedListing("ja_JP"));

    fetcher.started.clear();
    form.videoCountryBox->setText("United States");
    site().chooseCountry();
    serve();
    EXPECT_EQ(fetched(listing), expectedListing("en_US"));
}

// Catches a text not in the region table clearing or changing the region.
TEST_F(VideoSiteTest, UnknownCountryKeepsTheRegion) {
    regionCode = "fr_FR";
    form.videoCountryBox->setText("Atlantis");
    site().chooseCountry();
    serve();
    EXPECT_EQ(regionCode, "fr_FR");
    EXPECT_EQ(fetched(listing), expectedListing("fr_FR"));
}

// Catches the listing kind's path not being used, or Comedy lacking one.
TEST_F(VideoSiteTest, ChosenListingKindGivesItsPath) {
    form.videoKindBox->setText("Comedy");
    site().chooseListingKind();
    serve();
    const auto targets = fetched(listing);
    ASSERT_EQ(targets.size(), 5u);
    EXPECT_EQ(targets.front(), "/browse?s=mf&t=t&c=23&l=&e=en_us&p=1");
    EXPECT_EQ(targets.back(), "/browse?s=mf&t=t&c=23&l=&e=en_us&p=5");
}

// Catches an older listing that goes on fetching and appending its pages
// after a listing chosen while it loads: the list must hold the newer one only.
TEST_F(VideoSiteTest, ListingChosenDuringAnotherOneReplacesIt) {
    const std::string comedy = "/browse?s=mf&t=t&c=23&l=&e=en_us&p=";
    for (int p = 1; p <= kListingPages; ++p) {
        listing.pages[featured("en_us", p)] = link("f" + std::to_string(p), "Featured " + std::to_string(p));
        listing.pages[comedy + std::to_string(p)] = link("c" + std::to_string(p), "Comedy " + std::to_string(p));
    }
    site().openVideoSite();
    ASSERT_TRUE(fetcher.reply("http://listing.test" + featured("en_us", 1),
                              test::ScriptedReply{200, "text/html", {}, listing.pages[featured("en_us", 1)]}));
    EXPECT_EQ(titles(*form.videoList), (std::vector<std::string>{"Featured 1"}));
    form.videoKindBox->setText("Comedy");
    site().chooseListingKind();
    serve();

    EXPECT_EQ(titles(*form.videoList),
              (std::vector<std::string>{"Comedy 1", "Comedy 2", "Comedy 3", "Comedy 4", "Comedy 5"}));
    const auto pages = fetched(listing);
    ASSERT_EQ(pages.size(), 7u) << "the first listing stops at the page it was fetching";
    EXPECT_EQ(fetcher.cancelled, (std::vector<std::string>{"http://listing.test" + featured("en_us", 2)}));
}

// Catches a listing that keeps fetching its pages after the window closed.
TEST_F(VideoSiteTest, AbandonedListingFetchesNoMorePages) {
    for (int p = 1; p <= kListingPages; ++p) listing.pages[featured("en_us", p)] = link("f" + std::to_string(p), "F");
    site().openVideoSite();
    site().abandonListings();
    EXPECT_FALSE(site().loading());
    serve();
    EXPECT_EQ(fetched(listing).size(), 1u);
    EXPECT_EQ(form.videoList->count(), 0);
}

// Catches a page past its size cap applied in part (its last rows could be
// half ones), and the loop stopping there instead of going on.
TEST_F(VideoSiteTest, PageOverItsCapIsSkipped) {
    listing.pages[featured("en_us", 1)] = link("a", "A") + std::string(fetch::kPageCap, ' ');
    listing.pages[featured("en_us", 2)] = link("b", "B");
    site().loadVideoListing();
    serve();
    EXPECT_EQ(titles(*form.videoList), (std::vector<std::string>{"B"}));
    EXPECT_EQ(fetched(listing).size(), 5u);
}

// Catches a typed kind that is not in the table reaching the server, or
// leaving old rows in the list.
TEST_F(VideoSiteTest, TypedUnknownKindFetchesNothingAndEmptiesTheList) {
    ui::ListItem old;
    old.text = "old row";
    old.key = "old";
    form.videoList->addItem(old);
    form.videoKindBox->setText("Cats");
    site().chooseListingKind();
    serve();
    EXPECT_TRUE(fetched(listing).empty());
    EXPECT_EQ(form.videoList->count(), 0);
}

// Catches rows of later pages replacing earlier ones, or a repeated video
// taking its later title.
TEST_F(VideoSiteTest, PagesAccumulateAndTheFirstPageOfAVideoWins) {
    listing.pages[featured("en_us", 1)] = link("dup", "From page one") + link("p1", "One");
    listing.pages[featured("en_us", 3)] = link("p3", "Three") + link("dup", "From page three");
    listing.pages[featured("en_us", 5)] = link("p5", "Five &amp; more");
    site().loadVideoListing();
    serve();
    EXPECT_EQ(titles(*form.videoList), (std::vector<std::string>{"From page one", "One", "Three", "Five & more"}));
}

// Catches an unreachable site stopping early or leaving rows behind.
TEST_F(VideoSiteTest, UnreachableSiteTriesEveryPageAndLeavesTheListEmpty) {
    listing.pages[featured("en_us", 1)] = link("a", "A");
    site().loadVideoListing();
    serve();
    ASSERT_EQ(form.videoList->count(), 1);

    listing.pages[featured("en_us", 1)] = "";
    fetcher.started.clear();
    site().loadVideoListing();
    serve();
    EXPECT_EQ(fetched(listing), expectedListing("en_us")) << "empty answers do not stop the page loop";
    EXPECT_EQ(form.videoList->count(), 0);

    listing.pages[featured("en_us", 1)] = link("a", "A");
    site().loadVideoListing();
    serve();
    ASSERT_EQ(form.videoList->count(), 1);
    site().loadVideoListing();
    serve(fetch::FetchError::Refused);
    EXPECT_EQ(form.videoList->count(), 0);
}

// Catches the search mode entry fetching anything or leaving the kind
// selector shown, and a country not returning to listing mode.
TEST_F(VideoSiteTest, SearchEntrySwitchesModesAndCountryReturns) {
    form.videoCountryBox->setText("SEARCH");
    site().chooseCountry();
    serve();
    EXPECT_TRUE(form.videoSearchText->visible());
    EXPECT_TRUE(form.videoSearchButton->visible());
    EXPECT_FALSE(form.videoKindBox->visible());
    EXPECT_TRUE(fetched(listing).empty());
    EXPECT_TRUE(fetched(searching).empty());
    EXPECT_EQ(regionCode, "en_us");

    form.videoCountryBox->setText("search");
    site().chooseCountry();
    serve();
    EXPECT_TRUE(form.videoKindBox->visible()) << "only the exact upper-case text switches";
    EXPECT_FALSE(form.videoSearchText->visible());
    EXPECT_FALSE(form.videoSearchButton->visible());
    EXPECT_EQ(fetched(listing).size(), 5u);
}

// Catches an untouched search box not searching its text, the text not
// being encoded, the wrong host, or fewer than ten pages.
TEST_F(VideoSiteTest, UntouchedSearchBoxSearchesItsTextEncoded) {
    searching.pages[search("Enter%20search%20here", 2)] = link("s2", "Found");
    site().search();
    serve();
    std::vector<std::string> expected;
    for (int p = 1; p <= kSearchPages; ++p) expected.push_back(search("Enter%20search%20here", p));
    EXPECT_EQ(fetched(searching), expected);
    EXPECT_TRUE(fetched(listing).empty());
    EXPECT_EQ(titles(*form.videoList), (std::vector<std::string>{"Found"}));
}

// Catches "&" or "#" in a search text splitting or ending the query.
TEST_F(VideoSiteTest, SearchTextWithAmpersandStaysOneQueryValue) {
    form.videoSearchText->setText("tom & jerry #2");
    site().searchVideos();
    serve();
    const auto targets = fetched(searching);
    ASSERT_EQ(targets.size(), 10u);
    EXPECT_EQ(targets[0], search("tom%20%26%20jerry%20%232", 1));
}

// Catches a click showing a video while editing, or without a selection.
TEST_F(VideoSiteTest, VideoClickShowsThePageUnlessBlocked) {
    listing.pages[featured("en_us", 1)] = link("abc", "My clip");
    site().loadVideoListing();
    serve();
    site().showSelectedVideo();
    EXPECT_TRUE(browser.navigated2.empty());

    form.videoList->select(0);
    form.dontLoadWhileEditingCheck->setChecked(true);
    site().showSelectedVideo();
    EXPECT_TRUE(browser.navigated2.empty());
    EXPECT_FALSE(fs::exists(dir / "youtube.html"));

    form.dontLoadWhileEditingCheck->setChecked(false);
    site().showSelectedVideo();
    ASSERT_EQ(browser.navigated2.size(), 1u);
    EXPECT_NE(dir.read("youtube.html").find("<h1>My clip</h1>"), std::string::npos);
    EXPECT_NE(dir.read("youtube.html").find("src='http://player.example/embed/abc'"), std::string::npos);
}

// Catches a video favourite saved with the wrong address or fields, other
// menu indices acting, or an action with no selected video.
TEST_F(VideoSiteTest, AddToFavouritesAppendsAndSavesTheVideo) {
    listing.pages[featured("en_us", 1)] = link("v1", "A | B") + link("v2", "Second");
    site().loadVideoListing();
    serve();
    site().chooseVideoAction(0);
    EXPECT_EQ(form.favouritesList->count(), 0);
    form.videoList->select(0);
    site().chooseVideoAction(1);
    EXPECT_EQ(form.favouritesList->count(), 0);
    site().chooseVideoAction(0);
    site().chooseVideoAction(0);
    ASSERT_EQ(form.favouritesList->count(), 2);
    EXPECT_EQ(form.favouritesList->item(0).text, "A / B");
    EXPECT_EQ(form.favouritesList->item(0).tag, "youtube=v1");
    const auto lines = util::readLines(dir.read("Favorites.txt"));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(catalogue::DecodeLine(lines[0]), "A / B|youtube=v1||");
}

// Catches a saved video favourite not playing its video after a restart.
TEST_F(VideoSiteTest, VideoFavouritePlaysTheSamePageAfterRestart) {
    listing.pages[featured("en_us", 1)] = link("abc", "My clip");
    site().loadVideoListing();
    serve();
    form.videoList->select(0);
    site().showSelectedVideo();
    const std::string fromList = dir.read("youtube.html");
    site().chooseVideoAction(0);

    ui::MainWindow restarted;
    favourites::Favourites again(
        restarted, dir.path(),
        [this](const std::string&, const std::string& a, const std::string&) { playedChannels.push_back(a); }, reporter,
        dialogs, "ChannelDeck", [this](const std::string& t, const std::string& i) { page.showVideoPage(t, i); });
    again.LoadFavorites();
    ASSERT_EQ(restarted.favouritesList->count(), 1);
    fs::remove(dir / "youtube.html");
    restarted.favouritesList->select(0);
    again.playSelectedFavourite();
    EXPECT_EQ(dir.read("youtube.html"), fromList);
    EXPECT_TRUE(playedChannels.empty());
}

}  // namespace
}  // namespace cd::videosite
