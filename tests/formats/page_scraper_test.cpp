#include "formats/page_scraper.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace cd::formats {
namespace {

namespace fs = std::filesystem;

std::vector<std::pair<std::string, std::string>> rows(const std::vector<Video>& videos) {
    std::vector<std::pair<std::string, std::string>> out;
    for (const Video& video : videos) out.emplace_back(video.id, video.title);
    return out;
}
using Rows = std::vector<std::pair<std::string, std::string>>;

// Catches closing tags being moved onto lines of their own, or an opening
// tag left in the middle of a line.
TEST(SplitTagsIntoLines, OpeningTagsStartLinesClosingTagsStay) {
    std::string page = "a<b>c</b>d<br/>";
    SplitTagsIntoLines(page);
    EXPECT_EQ(page, "a\r\n<b>c</b>d\r\n<br/>");

    std::string crlfBeforeClose = "x\r\n</p><p>y";
    SplitTagsIntoLines(crlfBeforeClose);
    EXPECT_EQ(crlfBeforeClose, "x\r\n</p>\r\n<p>y");

    std::string trailing = "abc<";
    SplitTagsIntoLines(trailing);
    EXPECT_EQ(trailing, "abc\r\n<");

    std::string none = "no tags at all";
    SplitTagsIntoLines(none);
    EXPECT_EQ(none, "no tags at all");
}

// Catches a plain text link not being read, or the id keeping its path.
TEST(ParseVideoLine, ReadsIdAndTitleOfATextLink) {
    auto link = ParseVideoLine("<a href=\"/watch?v=abc\" class=\"t\">Song</a>");
    ASSERT_TRUE(link);
    EXPECT_EQ(link->id, "abc");
    EXPECT_EQ(link->title, "Song");
}

// Catches an anchor in capitals being refused or keeping "/WATCH?v=" in its key.
TEST(ParseVideoLine, CapitalAnchorIsAccepted) {
    auto link = ParseVideoLine("<A HREF=\"/WATCH?v=abc\">Loud</A>");
    ASSERT_TRUE(link);
    EXPECT_EQ(link->id, "abc");
    EXPECT_EQ(link->title, "Loud");
}

// Catches entities decoded in the id, or decoded in the wrong order or
// beyond the two the site uses.
TEST(ParseVideoLine, DecodesAmpAndQuotInTitleOnly) {
    auto link = ParseVideoLine("<a href=\"/watch?v=abc&amp;x=1\">Tom &amp; Jerry &quot;live&quot;</a>");
    ASSERT_TRUE(link);
    EXPECT_EQ(link->id, "abc&amp;x=1");
    EXPECT_EQ(link->title, "Tom & Jerry \"live\"");

    auto mixed = ParseVideoLine("<a href=\"/watch?v=q\">A &AMP; B &amp;quot; &lt;3</a>");
    ASSERT_TRUE(mixed);
    EXPECT_EQ(mixed->title, "A & B \" &lt;3");
}

// Catches titles being trimmed, or a lone LF ending the line.
TEST(ParseVideoLine, TitleIsNotTrimmed) {
    auto link = ParseVideoLine("<a href=\"/watch?v=s\">  Spaced \nout</a>");
    ASSERT_TRUE(link);
    EXPECT_EQ(link->title, "  Spaced \nout");
}

// Catches lines of the wrong shape producing rows.
TEST(ParseVideoLine, RefusesLinesOfOtherShapes) {
    EXPECT_FALSE(ParseVideoLine("<a href=\"/watch?v=abc\">"));             // thumbnail: no text
    EXPECT_FALSE(ParseVideoLine("<a href=\"/watch?v=abc\"><img src=x>"));  // text empty before "<"
    EXPECT_FALSE(ParseVideoLine("<a href=\"/watch?v=abc\">no closing"));   // no "<" in the text
    EXPECT_FALSE(ParseVideoLine("<a href=\"/watch?v=abc\""));              // no ">"
    EXPECT_FALSE(ParseVideoLine("<a href='/watch?v=abc'>Single</a>"));
    EXPECT_FALSE(ParseVideoLine("<a class=\"x\" href=\"/watch?v=abc\">Other order</a>"));
    EXPECT_FALSE(ParseVideoLine("<a href=\"/user/abc\">Channel</a>"));
    EXPECT_FALSE(ParseVideoLine("<b x>y<a href=\"/watch?v=q\">z</a>"));  // first piece has no quote
}

// Catches links lost, reordered or merged by the scraper: which of a
// repeated id is listed is the video list's business.
TEST(ScrapeVideoLines, EveryLinkInPageOrder) {
    const std::string text =
        "\r\n<a href=\"/watch?v=one\">First</a>\r\n<a href=\"/watch?v=two\">Second</a>"
        "\r\n<a href=\"/watch?v=one\">First again</a>";
    EXPECT_EQ(rows(ScrapeVideoLines(text)), (Rows{{"one", "First"}, {"two", "Second"}, {"one", "First again"}}));
    EXPECT_TRUE(ScrapeVideoLines("").empty());
}

// Catches a CR inside link text not ending the line as the line rule says.
TEST(ScrapeVideoLines, CrEndsTheLineLoneLfDoesNot) {
    EXPECT_EQ(rows(ScrapeVideoLines("<a href=\"/watch?v=a\">One\rTwo</a>\r\n<a href=\"/watch?v=b\">Three\nFour</a>")),
              (Rows{{"b", "Three\nFour"}}));
}

const char* const kListingPage =
    "<html><body><div class=\"v\">"
    "<a href=\"/watch?v=abc\"><img src=\"/thumb/abc.jpg\"></a>"
    "<a href=\"/watch?v=abc\">Song</a>"
    "<a href=\"/WATCH?v=cap\">Capitals</a>"
    "<a href=\"/watch?v=ent&amp;x=1\">Tom &amp; Jerry &quot;live&quot;</a>"
    "<a href=\"/user/someone\">someone</a>"
    "</div></body></html>";

const Rows kListingRows = {{"abc", "Song"}, {"cap", "Capitals"}, {"ent&amp;x=1", "Tom & Jerry \"live\""}};

// Catches the thumbnail link yielding a row, or the text link after it not.
TEST(PageScraper, ScrapesAWholePageAndRemovesTheScratchFile) {
    test::TempDir dir;
    PageScraper scraper(dir.path());
    std::string page = kListingPage;
    EXPECT_EQ(rows(scraper.parseVideoPage(page)), kListingRows);
    EXPECT_TRUE(scraper.lastUsedScratchFile());
    EXPECT_FALSE(fs::exists(dir / "youtube.tmp"));
    EXPECT_NE(page.find("\r\n<a href=\"/watch?v=abc\">Song</a>"), std::string::npos)
        << "the page is the scraper's working copy afterwards";
}

// Catches a scratch file left by an earlier run adding its stale videos.
TEST(PageScraper, StaleScratchFileIsNotScrapedAgain) {
    test::TempDir dir;
    dir.write("youtube.tmp", "<a href=\"/watch?v=stale\">Old video</a>\r\n");
    PageScraper scraper(dir.path());
    std::string page = kListingPage;
    EXPECT_EQ(rows(scraper.parseVideoPage(page)), kListingRows);
    EXPECT_FALSE(fs::exists(dir / "youtube.tmp"));
}

// Catches a folder without write access leaving the video list empty.
TEST(PageScraper, UnwritableFolderScrapesInMemory) {
    test::TempDir dir;
    dir.write("plain-file", "x");
    PageScraper scraper(dir / "plain-file" / "program");
    std::string page = kListingPage;
    EXPECT_EQ(rows(scraper.parseVideoPage(page)), kListingRows);
    EXPECT_FALSE(scraper.lastUsedScratchFile());
}

// Catches a scratch name taken by a folder stopping the scrape.
TEST(PageScraper, ScratchNameTakenByAFolderScrapesInMemory) {
    test::TempDir dir;
    fs::create_directory(dir / "youtube.tmp");
    PageScraper scraper(dir.path());
    std::string page = kListingPage;
    EXPECT_EQ(rows(scraper.parseVideoPage(page)), kListingRows);
    EXPECT_TRUE(fs::is_directory(dir / "youtube.tmp"));
}

// Catches an empty page (an unreachable server) producing anything.
TEST(PageScraper, EmptyPageAddsNothing) {
    test::TempDir dir;
    PageScraper scraper(dir.path());
    std::string page;
    EXPECT_TRUE(scraper.parseVideoPage(page).empty());
}

}  // namespace
}  // namespace cd::formats
