#include "favourites/favourites.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <filesystem>

#include "catalogue/line_cipher.h"
#include "support/fakes.h"
#include "support/scripted_fetcher.h"
#include "support/sent_reports.h"
#include "support/temp_dir.h"
#include "util/lines.h"

namespace cd::favourites {
namespace {

namespace fs = std::filesystem;

struct Played {
    std::string name, address, reportValue;
    bool operator==(const Played&) const = default;
};

struct ShownVideo {
    std::string title, id;
};

class FavouritesTest : public ::testing::Test {
protected:
    Favourites make(const fs::path& folder) {
        return Favourites(
            form, folder,
            [this](const std::string& n, const std::string& a, const std::string& v) {
                played.push_back({n, a, v});
            },
            reporter, dialogs, "ChannelDeck",
            [this](const std::string& t, const std::string& i) {
                shown.push_back({t, i});
            });
    }
    void addChannel(const std::string& name, const std::string& address, const std::string& category = "TV",
                    const std::string& languages = "English") {
        ui::ListItem item;
        item.text = name;
        item.tag = address;
        item.setSubItem(1, category);
        item.setSubItem(2, languages);
        form.channelList->addItem(std::move(item));
    }
    void addFavouriteRow(const std::string& name, const std::string& address) {
        ui::ListItem item;
        item.text = name;
        item.tag = address;
        form.favouritesList->addItem(std::move(item));
    }
    std::vector<std::string> decodedFileLines() const {
        std::vector<std::string> out;
        for (const auto& line : util::readLines(dir.read("Favorites.txt"))) out.push_back(catalogue::DecodeLine(line));
        return out;
    }

    test::TempDir dir;
    ui::MainWindow form;
    test::FakeDialogs dialogs;
    test::ScriptedFetcher fetcher;
    fetch::Reporter reporter{fetcher, "catalogue.test"};
    std::vector<ShownVideo> shown;
    std::vector<Played> played;
    std::vector<test::SentReport> sent() const { return test::sentReports(fetcher); }
};

// Catches a channel favourite that is not written, not reported, or reads
// back with fields in other places.
TEST_F(FavouritesTest, AddedChannelIsSavedReportedAndLoadsBack) {
    auto fav = make(dir.path());
    addChannel("News 24", "http://news.example/24", "TV", "English/French");
    form.channelList->select(0);
    fav.applyChannelAction("Favorites");

    ASSERT_EQ(form.favouritesList->count(), 1);
    EXPECT_EQ(decodedFileLines(), (std::vector<std::string>{"News 24|http://news.example/24|TV|English/French"}));
    EXPECT_EQ(dir.read("Favorites.txt"),
              catalogue::EncodeLine("News 24|http://news.example/24|TV|English/French") + "\r\n");
    const auto reports = sent();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].type, "FAVORITE");
    EXPECT_EQ(reports[0].value, "");
    EXPECT_EQ(reports[0].item, "News 24");

    ui::MainWindow restarted;
    Favourites again(restarted, dir.path(), {}, reporter, dialogs, "ChannelDeck", {});
    again.LoadFavorites();
    ASSERT_EQ(restarted.favouritesList->count(), 1);
    const auto& item = restarted.favouritesList->item(0);
    EXPECT_EQ(item.text, "News 24");
    EXPECT_EQ(item.tag, "http://news.example/24");
    EXPECT_EQ(item.subItem(1), "TV");
    EXPECT_EQ(item.subItem(2), "English/French");
}

// Catches duplicates being merged, or the second add overwriting the first line.
TEST_F(FavouritesTest, AddingTwiceGivesTwoRowsAndTwoLines) {
    auto fav = make(dir.path());
    addChannel("Jazz FM", "http://jazz/fm", "Radio", "English");
    form.channelList->select(0);
    fav.chooseChannelAction(0);
    fav.chooseChannelAction(0);
    EXPECT_EQ(form.favouritesList->count(), 2);
    EXPECT_EQ(decodedFileLines(), (std::vector<std::string>{"Jazz FM|http://jazz/fm|Radio|English",
                                                            "Jazz FM|http://jazz/fm|Radio|English"}));
    EXPECT_EQ(sent().size(), 2u);
}

// Catches a video favourite written without its empty fields, or loading
// back with something in its category or type.
TEST_F(FavouritesTest, VideoFavouriteEndsWithTwoBarsAndLoadsEmptySubItems) {
    auto fav = make(dir.path());
    fav.addVideoFavourite("My clip", "abc");
    EXPECT_EQ(decodedFileLines(), (std::vector<std::string>{"My clip|youtube=abc||"}));
    EXPECT_TRUE(sent().empty());

    ui::MainWindow restarted;
    Favourites again(restarted, dir.path(), {}, reporter, dialogs, "ChannelDeck", {});
    again.LoadFavorites();
    ASSERT_EQ(restarted.favouritesList->count(), 1);
    EXPECT_EQ(restarted.favouritesList->item(0).text, "My clip");
    EXPECT_EQ(restarted.favouritesList->item(0).tag, "youtube=abc");
    EXPECT_EQ(restarted.favouritesList->item(0).subItem(1), "");
    EXPECT_EQ(restarted.favouritesList->item(0).subItem(2), "");
}

// Catches a "|" in a name shifting the fields of the saved record.
TEST_F(FavouritesTest, BarInNameOrTitleIsReplacedSoTheRecordReadsBackWhole) {
    auto fav = make(dir.path());
    addChannel("AC|DC Radio", "http://acdc/live", "Radio", "English");
    form.channelList->select(0);
    fav.applyChannelAction("Favorites");
    fav.addVideoFavourite("Q|A session", "vid1");
    EXPECT_EQ(form.favouritesList->item(0).text, "AC/DC Radio");
    EXPECT_EQ(sent().at(0).item, "AC|DC Radio");

    ui::MainWindow restarted;
    Favourites again(restarted, dir.path(), {}, reporter, dialogs, "ChannelDeck", {});
    again.LoadFavorites();
    ASSERT_EQ(restarted.favouritesList->count(), 2);
    EXPECT_EQ(restarted.favouritesList->item(0).text, "AC/DC Radio");
    EXPECT_EQ(restarted.favouritesList->item(0).tag, "http://acdc/live");
    EXPECT_EQ(restarted.favouritesList->item(0).subItem(1), "Radio");
    EXPECT_EQ(restarted.favouritesList->item(1).text, "Q/A session");
    EXPECT_EQ(restarted.favouritesList->item(1).tag, "youtube=vid1");
}

// Catches a title byte that the cipher turns into CR splitting the saved line.
TEST_F(FavouritesTest, TitleByteThatEncodesToCrStillReadsBackAsOneFavourite) {
    auto fav = make(dir.path());
    fav.addVideoFavourite(std::string("Caf") + static_cast<char>(0xCC) + " live", "v9");
    ui::MainWindow restarted;
    Favourites again(restarted, dir.path(), {}, reporter, dialogs, "ChannelDeck", {});
    again.LoadFavorites();
    ASSERT_EQ(restarted.favouritesList->count(), 1);
    EXPECT_EQ(restarted.favouritesList->item(0).text, "CafI live");
    EXPECT_EQ(restarted.favouritesList->item(0).tag, "youtube=v9");
}

// Catches short lines being dropped and lines without "|" being kept.
TEST_F(FavouritesTest, LoadKeepsShortLinesAndSkipsLinesWithoutBar) {
    dir.write("Favorites.txt", catalogue::EncodeLine("Only Name|http://x/1") + "\r\n" +
                                   catalogue::EncodeLine("no separator here") + "\r\n" +
                                   catalogue::EncodeLine("Full|http://x/2|TV|German") + "\r\n");
    auto fav = make(dir.path());
    fav.LoadFavorites();
    ASSERT_EQ(form.favouritesList->count(), 2);
    EXPECT_EQ(form.favouritesList->item(0).text, "Only Name");
    EXPECT_EQ(form.favouritesList->item(0).tag, "http://x/1");
    EXPECT_EQ(form.favouritesList->item(0).subItem(1), "");
    EXPECT_EQ(form.favouritesList->item(1).subItem(2), "German");
}

// Catches a encryptAndSaveButton that drops what the load did not turn into a row: a line
// without "|", the fifth and sixth fields, and the rest of a line after a
// lone LF byte (which the line rule keeps inside its line, so the two
// halves are one line, one record or none).
TEST_F(FavouritesTest, HandEditedLinesExtraFieldsAndLoneLineFeedsSurviveAnAdd) {
    using catalogue::EncodeLine;
    const std::string original =
        EncodeLine("my favourites, edited by hand") + "\r\n" + EncodeLine("News|http://n/1|TV|English") + "\r\n" +
        EncodeLine("Six|http://six|Radio|German|rated 5|2024-01-02") + "\r\n" + EncodeLine("Left|http://l|TV|English") +
        "\n" + EncodeLine("Right|http://r|Radio|French") + "\r\n" + EncodeLine("just a note") + "\n" +
        EncodeLine("and its second half") + "\r\n" + EncodeLine("Plain\nFeed|http://f|TV|English") + "\r\n" +
        EncodeLine("written by a newer version") + "\r\n";
    dir.write("Favorites.txt", original);
    auto fav = make(dir.path());
    fav.LoadFavorites();
    ASSERT_EQ(form.favouritesList->count(), 4);
    EXPECT_EQ(form.favouritesList->item(1).subItem(2), "German");
    EXPECT_EQ(form.favouritesList->item(2).text, "Left");
    EXPECT_EQ(form.favouritesList->item(2).subItem(2), "English\xC9Right") << "a lone LF byte decodes to 201";
    EXPECT_EQ(form.favouritesList->item(3).text, "Plain\nFeed");

    addChannel("Added", "http://added", "TV", "English");
    form.channelList->select(0);
    fav.chooseChannelAction(0);
    EXPECT_EQ(dir.read("Favorites.txt"), original + EncodeLine("Added|http://added|TV|English") + "\r\n");

    // A second run keeps them too, and its own encryptAndSaveButton changes nothing.
    ui::MainWindow restarted;
    Favourites again(restarted, dir.path(), {}, reporter, dialogs, "ChannelDeck", {});
    again.LoadFavorites();
    ASSERT_EQ(restarted.favouritesList->count(), 5);
    const std::string before = dir.read("Favorites.txt");
    ASSERT_TRUE(again.SaveFavorites());
    EXPECT_EQ(dir.read("Favorites.txt"), before);
}

// Catches kept lines that stay at their old place in the file instead of
// with their favourite, that vanish with a removed favourite, or a remove
// that takes another row than the one the sorted list shows as selected.
TEST_F(FavouritesTest, KeptLinesFollowTheirFavouriteThroughSortingAndRemoval) {
    using catalogue::EncodeLine;
    const auto line = [](const std::string& plain) { return EncodeLine(plain) + "\r\n"; };
    dir.write("Favorites.txt", line("head note") + line("Alpha|http://a|TV|English|kept A") + line("after alpha") +
                                   line("Bravo|http://b|TV|English") + line("after bravo 1") + line("after bravo 2") +
                                   line("Charlie|http://c|TV|English") + line("after charlie"));
    auto fav = make(dir.path());
    fav.LoadFavorites();
    ui::ListView& list = *form.favouritesList;
    list.setSortKey(0);
    list.setSortOrder(ui::SortOrder::Descending);
    list.setSorted(true);
    ASSERT_TRUE(fav.SaveFavorites());
    EXPECT_EQ(dir.read("Favorites.txt"), line("head note") + line("Charlie|http://c|TV|English") +
                                             line("after charlie") + line("Bravo|http://b|TV|English") +
                                             line("after bravo 1") + line("after bravo 2") +
                                             line("Alpha|http://a|TV|English|kept A") + line("after alpha"));

    // Bravo goes; its lines follow Alpha, the favourite before it in the file.
    ASSERT_EQ(list.item(1).text, "Bravo");
    list.select(1);
    fav.removeSelectedFavourite();
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.item(0).text, "Charlie");
    EXPECT_EQ(list.item(1).text, "Alpha");
    EXPECT_EQ(dir.read("Favorites.txt"), line("head note") + line("Charlie|http://c|TV|English") +
                                             line("after charlie") + line("Alpha|http://a|TV|English|kept A") +
                                             line("after alpha") + line("after bravo 1") + line("after bravo 2"));

    // Alpha goes; nothing stood before it, so its lines and Bravo's go first.
    list.select(1);
    fav.removeSelectedFavourite();
    EXPECT_EQ(dir.read("Favorites.txt"), line("head note") + line("after alpha") + line("after bravo 1") +
                                             line("after bravo 2") + line("Charlie|http://c|TV|English") +
                                             line("after charlie"));

    // Adding and rating still act on the channel list's selection; a new
    // favourite takes its sorted place and carries nothing.
    addChannel("Delta", "http://d", "Radio", "German");
    form.channelList->select(0);
    fav.applyChannelAction("Rate4");
    fav.applyChannelAction("Favorites");
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.item(0).text, "Delta");
    EXPECT_EQ(dir.read("Favorites.txt"), line("head note") + line("after alpha") + line("after bravo 1") +
                                             line("after bravo 2") + line("Delta|http://d|Radio|German") +
                                             line("Charlie|http://c|TV|English") + line("after charlie"));
    const auto reports = sent();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0].type + reports[0].value + reports[0].item, "Rate4Delta");
    EXPECT_EQ(reports[1].type + reports[1].item, "FAVORITEDelta");
}

// Catches a missing file being treated as an error or creating rows.
TEST_F(FavouritesTest, MissingFileIsAnEmptyList) {
    auto fav = make(dir.path());
    fav.LoadFavorites();
    EXPECT_EQ(form.favouritesList->count(), 0);
    EXPECT_FALSE(fs::exists(dir / "Favorites.txt"));
    EXPECT_TRUE(dialogs.shown.empty());
}

// Catches removing the last favourite deleting the file instead of emptying it.
TEST_F(FavouritesTest, RemovingLastFavouriteLeavesAnEmptyFile) {
    auto fav = make(dir.path());
    fav.addVideoFavourite("Only one", "x1");
    form.favouritesList->select(0);
    fav.removeSelectedFavourite();
    EXPECT_EQ(form.favouritesList->count(), 0);
    ASSERT_TRUE(fs::is_regular_file(dir / "Favorites.txt"));
    EXPECT_EQ(fs::file_size(dir / "Favorites.txt"), 0u);
}

// Catches a remove without selection that skips the encryptAndSaveButton or removes a row.
TEST_F(FavouritesTest, RemoveWithoutSelectionStillRewritesTheFile) {
    dir.write("Favorites.txt",
              catalogue::EncodeLine("A|http://a||") + "\r\n" + catalogue::EncodeLine("stale|http://stale||") + "\r\n");
    auto fav = make(dir.path());
    addFavouriteRow("A", "http://a");
    fav.removeSelectedFavourite();
    EXPECT_EQ(form.favouritesList->count(), 1);
    EXPECT_EQ(decodedFileLines(), (std::vector<std::string>{"A|http://a||"}));
}

// Catches the rate entries sending the wrong digit, the separator sending
// anything, or a rating touching the favourites.
TEST_F(FavouritesTest, RateMenuSendsItsDigitAndSeparatorNothing) {
    auto fav = make(dir.path());
    addChannel("Rock Radio", "http://rock/1", "Radio", "English");
    form.channelList->select(0);
    fav.chooseChannelAction(2);
    fav.chooseChannelAction(1);
    fav.chooseChannelAction(6);
    fav.chooseChannelAction(4);
    fav.chooseChannelAction(7);
    fav.chooseChannelAction(-1);
    const auto reports = sent();
    ASSERT_EQ(reports.size(), 3u);
    EXPECT_EQ(reports[0].type, "Rate");
    EXPECT_EQ(reports[0].value, "5");
    EXPECT_EQ(reports[0].item, "Rock Radio");
    EXPECT_EQ(reports[1].value, "1");
    EXPECT_EQ(reports[2].value, "3");
    EXPECT_EQ(form.favouritesList->count(), 0);
    EXPECT_FALSE(fs::exists(dir / "Favorites.txt"));
}

// Catches words other than the six being acted on.
TEST_F(FavouritesTest, UnknownActionWordsDoNothing) {
    auto fav = make(dir.path());
    addChannel("Rock Radio", "http://rock/1");
    form.channelList->select(0);
    for (const char* word : {"Rate6", "Rate0", "rate5", "Rate", "Rate55", "favorites", ""})
        fav.applyChannelAction(word);
    EXPECT_TRUE(sent().empty());
    EXPECT_EQ(form.favouritesList->count(), 0);
}

// Catches an action on an empty selection adding an empty favourite or
// reporting a blank name.
TEST_F(FavouritesTest, ActionsWithoutSelectedChannelAddAndReportNothing) {
    auto fav = make(dir.path());
    fav.applyChannelAction("Favorites");
    fav.applyChannelAction("Rate3");
    addChannel("Not chosen", "http://x");
    fav.applyChannelAction("Favorites");
    EXPECT_TRUE(sent().empty());
    EXPECT_EQ(form.favouritesList->count(), 0);
    EXPECT_FALSE(fs::exists(dir / "Favorites.txt"));
}

// Catches a encryptAndSaveButton failure that goes unnoticed or destroys what was there.
TEST_F(FavouritesTest, SaveOntoAFolderFailsWithAMessageAndKeepsIt) {
    fs::create_directory(dir / "Favorites.txt");
    dir.write("Favorites.txt/keep.me", "precious");
    auto fav = make(dir.path());
    fav.addVideoFavourite("Clip", "c1");
    EXPECT_FALSE(fav.SaveFavorites());
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_NE(dialogs.shown[0].text.find((dir / "Favorites.txt").string()), std::string::npos);
    EXPECT_EQ(dialogs.shown[0].title, "ChannelDeck");
    EXPECT_EQ(dir.read("Favorites.txt/keep.me"), "precious");
    EXPECT_EQ(form.favouritesList->count(), 1);
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.path())) ++entries;
    EXPECT_EQ(entries, 1u) << "no temporary file may be left behind";
}

// Catches a program folder that cannot be written failing silently.
TEST_F(FavouritesTest, SaveUnderARegularFileFailsWithAMessage) {
    dir.write("not-a-folder", "x");
    auto fav = make(dir / "not-a-folder");
    fav.addVideoFavourite("Clip", "c1");
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_NE(dialogs.shown[0].text.find("Favorites.txt"), std::string::npos);
}

// Catches a write that fails part-way leaving a truncated or emptied file:
// the old favourites must survive whole. Root ignores permissions, so a
// file size limit makes the write fail.
TEST_F(FavouritesTest, FailedWriteKeepsTheOldFileWhole) {
    const std::string old = catalogue::EncodeLine("Old|http://old/1|TV|English") + "\r\n";
    dir.write("Favorites.txt", old);
    auto fav = make(dir.path());
    fav.LoadFavorites();
    for (int i = 0; i < 50; ++i) addFavouriteRow("A long enough favourite name " + std::to_string(i), "http://x");

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved_ok = fav.SaveFavorites();
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(saved_ok);
    EXPECT_EQ(dir.read("Favorites.txt"), old);
    EXPECT_EQ(dialogs.shown.size(), 1u);
}

// Catches a video favourite marked in capitals being fetched as a channel.
TEST_F(FavouritesTest, CapitalVideoMarkerPlaysAsVideo) {
    auto fav = make(dir.path());
    addFavouriteRow("Big clip", "YOUTUBE=xyz123");
    form.favouritesList->select(0);
    form.offlinePicture->setVisible(true);
    fav.playSelectedFavourite();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, "Big clip");
    EXPECT_EQ(shown[0].id, "xyz123");
    EXPECT_FALSE(form.player->visible());
    EXPECT_TRUE(form.videoPage->visible());
    EXPECT_FALSE(form.offlinePicture->visible());
    EXPECT_TRUE(played.empty());
    EXPECT_TRUE(fetcher.started.empty());
}

// Catches the id being taken after the marker rather than after the first
// "=", or running on past the next "=".
TEST(VideoIdOfAddress, TakesTextAfterFirstEqualsUpToTheNext) {
    EXPECT_EQ(VideoIdOfAddress("youtube=abc"), "abc");
    EXPECT_EQ(VideoIdOfAddress("youtube=abc=def"), "abc");
    EXPECT_EQ(VideoIdOfAddress("x=1&youtube=abc"), "1&youtube");
    EXPECT_EQ(VideoIdOfAddress("youtube="), "");
}

// Catches a channel favourite not played as a channel (with the quote its
// OFFLINE report carries), or the video page left shown over the player.
TEST_F(FavouritesTest, ChannelFavouritePlaysAsAChannelWithItsReportValue) {
    auto fav = make(dir.path());
    addFavouriteRow("Live", "http://live.test/stream");
    form.favouritesList->select(0);
    form.player->setVisible(false);
    form.videoPage->setVisible(true);
    form.offlinePicture->setVisible(true);
    fav.playSelectedFavourite();
    EXPECT_EQ(played, (std::vector<Played>{{"Live", "http://live.test/stream", "\""}}));
    EXPECT_TRUE(form.player->visible());
    EXPECT_FALSE(form.videoPage->visible());
    EXPECT_FALSE(form.offlinePicture->visible());
    EXPECT_TRUE(sent().empty());
    EXPECT_TRUE(shown.empty());
}

// Catches a favourite being played while editing, or a click on nothing
// fetching or reporting anything.
TEST_F(FavouritesTest, ClickWhileEditingOrWithoutSelectionDoesNothing) {
    auto fav = make(dir.path());
    addFavouriteRow("Live", "http://live.test/stream");
    fav.playSelectedFavourite();
    form.favouritesList->select(0);
    form.dontLoadWhileEditingCheck->setChecked(true);
    form.offlinePicture->setVisible(true);
    fav.playSelectedFavourite();
    EXPECT_FALSE(form.offlinePicture->visible());
    EXPECT_TRUE(played.empty());
    EXPECT_TRUE(fetcher.started.empty());
}

// Catches a favourites search that drops the favourites it hides from the
// file (on a remove or an add while it filters), acts on another
// row than the one clicked, acts on a hidden row, or folds names otherwise
// than the channel search: "cafe" finds a UTF-8 "Café" and a windows-1252
// "CAFÉ", "zurich" finds "Zürich"; Esc shows every favourite again.
TEST_F(FavouritesTest, SearchHidesFavouritesButEverySaveKeepsThem) {
    using Names = std::vector<std::string>;
    const std::string zurich = "Caf\xc3\xa9 Z\xc3\xbcrich|http://cafe/1|Radio|German";
    const std::string note = "a line of the user's own";
    const std::string news = "News 24|http://news/24|TV|English|newer field";
    const std::string noir = "CAF\xc9 Noir|http://noir|TV|French";
    const std::string clip = "Clip|youtube=v1||";
    std::string bytes;
    for (const auto& line : {zurich, note, news, noir, clip}) bytes += catalogue::EncodeLine(line) + "\r\n";
    dir.write("Favorites.txt", bytes);
    auto fav = make(dir.path());
    fav.LoadFavorites();
    ui::ListView& list = *form.favouritesList;
    list.setSorted(true);  // by name, ascending
    const auto type = [&](const std::string& text) {
        form.favouriteSearch->setText(text);
        form.favouriteSearch->changed.raise();
    };
    const auto shownNames = [&] {
        Names out;
        for (int i = 0; i < list.count(); ++i) out.emplace_back(list.text(i));
        return out;
    };

    type("zurich");
    EXPECT_EQ(shownNames(), Names{"Caf\xc3\xa9 Z\xc3\xbcrich"});
    type("cafe");
    EXPECT_EQ(shownNames(), (Names{"Caf\xc3\xa9 Z\xc3\xbcrich", "CAF\xc9 Noir"}));
    list.select(1);
    fav.playSelectedFavourite();
    EXPECT_EQ(played, (std::vector<Played>{{"CAF\xc9 Noir", "http://noir", "\""}}));

    // The removed row is the one clicked; the hidden ones stay in the file
    // with their extra field and the line that followed them.
    fav.removeSelectedFavourite();
    EXPECT_EQ(shownNames(), Names{"Caf\xc3\xa9 Z\xc3\xbcrich"});
    EXPECT_EQ(decodedFileLines(), (Names{zurich, note, clip, news}));

    // Added while filtered: a match shows, the other is hidden; both are saved.
    addChannel("Cafe Cr\xc3\xa8me", "http://creme", "Radio", "French");
    addChannel("Sports", "http://sports", "TV", "English");
    form.channelList->select(0);
    fav.applyChannelAction("Favorites");
    form.channelList->select(1);
    fav.applyChannelAction("Favorites");
    EXPECT_EQ(shownNames(), (Names{"Cafe Cr\xc3\xa8me", "Caf\xc3\xa9 Z\xc3\xbcrich"}));
    const Names all{
        "Cafe Cr\xc3\xa8me|http://creme|Radio|French", zurich, note, clip, news, "Sports|http://sports|TV|English"};
    EXPECT_EQ(decodedFileLines(), all);

    // A selected favourite that a narrower search hides is not removed.
    list.select(1);
    type("creme");
    EXPECT_EQ(list.selectedIndex(), -1);
    fav.removeSelectedFavourite();
    EXPECT_EQ(decodedFileLines(), all);

    form.favouriteSearch->keyPressed.raise(27);
    EXPECT_EQ(form.favouriteSearch->text(), "");
    EXPECT_EQ(shownNames(), (Names{"Cafe Cr\xc3\xa8me", "Caf\xc3\xa9 Z\xc3\xbcrich", "Clip", "News 24", "Sports"}));
}

}  // namespace
}  // namespace cd::favourites
