// Bad files for the video site's two files: the scratch file youtube.tmp a
// page passes through, and the player page youtube.html. A write that
// cannot grow the file, a program folder under a regular file, a scratch
// name that is a link elsewhere, NUL bytes and an overlong title must each
// end in a clear result, with no crash and no video lost.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "formats/page_scraper.h"
#include "support/fakes.h"
#include "support/file_size_limit.h"
#include "support/temp_dir.h"
#include "ui/list_view.h"
#include "videosite/video_page.h"
#include "videosite/video_rows.h"

namespace cd::videosite {
namespace {

namespace fs = std::filesystem;
using Rows = std::vector<std::pair<std::string, std::string>>;

Rows rows(const ui::ListView& list) {
    Rows out;
    for (int i = 0; i < list.count(); ++i) out.emplace_back(list.item(i).key, list.item(i).text);
    return out;
}

// A listing page of n videos, about 100 bytes each.
std::string listingPage(int n) {
    std::string page = "<html><body>";
    for (int i = 0; i < n; ++i)
        page += "<div class=\"v\"><a href=\"/watch?v=id" + std::to_string(i) + "\">Video number " + std::to_string(i) +
                "</a></div>";
    return page + "</body></html>";
}

// Catches a scratch file cut short by a full disk being read back, which
// would drop every video past the cut; the page must be scraped whole.
TEST(VideoSiteBadFile, ScratchFileThatCannotGrowIsNotReadBackCut) {
    test::TempDir dir;
    const std::string page = listingPage(200);
    ASSERT_GT(page.size(), 3 * 4096u);
    const int status = test::runWithFileSizeLimit(4096, [&] {
        formats::PageScraper scraper(dir.path());
        ui::ListView list("ListView3");
        std::string copy = page;
        const int added = AddVideoRows(scraper.parseVideoPage(copy), list);
        if (added != 200 || list.count() != 200) return 1;
        if (list.item(199).key != "id199" || list.item(199).text != "Video number 199") return 2;
        return scraper.lastUsedScratchFile() ? 3 : 0;
    });
    EXPECT_EQ(status, 0) << "1: videos lost, 2: wrong last row, 3: a cut scratch file was used";
    EXPECT_FALSE(fs::exists(dir / "youtube.tmp")) << "no cut scratch file is left";
}

// Catches a scratch name planted as a link being followed: the scrape must
// neither write through it nor lose the page.
TEST(VideoSiteBadFile, ScratchNameThatIsALinkIsNotFollowed) {
    test::TempDir dir;
    dir.write("precious.txt", "do not touch");
    fs::create_symlink(dir / "precious.txt", dir / "youtube.tmp");
    formats::PageScraper scraper(dir.path());
    ui::ListView list("ListView3");
    std::string page = listingPage(3);
    EXPECT_EQ(AddVideoRows(scraper.parseVideoPage(page), list), 3);
    EXPECT_FALSE(scraper.lastUsedScratchFile());
    EXPECT_EQ(dir.read("precious.txt"), "do not touch");
}

// Catches NUL bytes in a page ending the scrape, a title or an id early, or
// being lost on the way through the scratch file.
TEST(VideoSiteBadFile, NulBytesInAPageStayInTitlesAndIds) {
    test::TempDir dir;
    std::string page = std::string("\0<html>\0", 8) + "<a href=\"/watch?v=a" + std::string(1, '\0') + "b\">Nul" +
                       std::string(1, '\0') + "Title</a>" + "<a href=\"/watch?v=after\">After</a>";
    formats::PageScraper scraper(dir.path());
    ui::ListView list("ListView3");
    EXPECT_EQ(AddVideoRows(scraper.parseVideoPage(page), list), 2);
    EXPECT_TRUE(scraper.lastUsedScratchFile());
    EXPECT_EQ(rows(list), (Rows{{std::string("a\0b", 3), std::string("Nul\0Title", 9)}, {"after", "After"}}));
}

// Catches a title past 32,767 bytes (one enormous line) being cut or
// crashing the scraper.
TEST(VideoSiteBadFile, OverlongTitleComesThroughWhole) {
    test::TempDir dir;
    const std::string title(100'000, 't');
    std::string page = "<a href=\"/watch?v=long\">" + title + "</a><a href=\"/watch?v=next\">Next</a>";
    formats::PageScraper scraper(dir.path());
    ui::ListView list("ListView3");
    EXPECT_EQ(AddVideoRows(scraper.parseVideoPage(page), list), 2);
    EXPECT_EQ(rows(list), (Rows{{"long", title}, {"next", "Next"}}));
}

class VideoPageBadFile : public ::testing::Test {
protected:
    test::TempDir dir;
    test::FakeBrowser browser;
    test::FakeDialogs dialogs;
};

// Catches a player page that fails part way (a full disk) being shown cut
// off, replacing the old page, or failing without a word.
TEST_F(VideoPageBadFile, PageThatCannotGrowKeepsTheOldOneAndShowsNothing) {
    VideoPage page(dir.path(), browser, "player.example", dialogs, "ChannelDeck");
    ASSERT_TRUE(page.showVideoPage("Old video", "old"));
    const std::string old = dir.read("youtube.html");
    const int status = test::runWithFileSizeLimit(1024, [&] {
        if (page.showVideoPage(std::string(20'000, 'n'), "new")) return 1;
        if (browser.navigated2.size() != 1) return 2;
        return dialogs.shown.size() == 1 ? 0 : 3;
    });
    EXPECT_EQ(status, 0) << "1: reported as shown, 2: a page was shown, 3: not told";
    EXPECT_EQ(dir.read("youtube.html"), old);
    for (const auto& e : fs::directory_iterator(dir.path()))
        EXPECT_EQ(e.path().filename(), "youtube.html") << "left behind: " << e.path();
}

// Catches a program folder whose parent is a regular file crashing the page
// writer or showing a page that was never written.
TEST_F(VideoPageBadFile, ProgramFolderUnderARegularFileShowsNothingAndSaysSo) {
    dir.write("plainfile", "not a folder");
    VideoPage page(dir / "plainfile" / "ChannelDeck", browser, "player.example", dialogs, "ChannelDeck");
    EXPECT_FALSE(page.showVideoPage("A video", "abc"));
    EXPECT_TRUE(browser.navigated2.empty());
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_NE(dialogs.shown[0].text.find("could not be written"), std::string::npos) << dialogs.shown[0].text;
    EXPECT_FALSE(page.writeMessagePage());
    EXPECT_EQ(dir.read("plainfile"), "not a folder");
}

}  // namespace
}  // namespace cd::videosite
