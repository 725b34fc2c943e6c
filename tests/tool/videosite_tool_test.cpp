// The video site commands of the real channeldeck-tool, run as a program on
// real files.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/temp_dir.h"
#include "support/tool_runner.h"

namespace {

using cd::test::runTool;
using cd::test::shellQuoted;
using cd::test::ToolRun;

namespace fs = std::filesystem;

// Catches the command scraping differently from the video tab: thumbnail
// rows, capital anchors, entities, repeated ids, escaping of line ends.
TEST(VideoSiteTool, ScrapePrintsIdTabTitleRows) {
    cd::test::TempDir dir;
    dir.write("page.html",
              "<html><a href=\"/watch?v=abc\"><img src=\"t.jpg\"></a><a href=\"/watch?v=abc\">Song</a>\r\n"
              "<A HREF=\"/WATCH?v=cap\">Loud</A><a href=\"/watch?v=e&amp;x\">Tom &amp; Jerry</a>"
              "<a href=\"/watch?v=abc\">Song again</a><a href=\"/watch?v=lf\">two\nlines\tand \\</a></html>");
    const ToolRun r = runTool(dir, "scrape page.html");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "abc\tSong\ncap\tLoud\ne&amp;x\tTom & Jerry\nlf\ttwo\\nlines\\tand \\\\\n");
    EXPECT_EQ(r.err, "");
    EXPECT_FALSE(fs::exists(dir / "youtube.tmp"));
}

// Catches a page without videos printing anything or failing.
TEST(VideoSiteTool, ScrapeOfAPageWithoutVideosPrintsNothing) {
    cd::test::TempDir dir;
    dir.write("empty.html", "");
    const ToolRun r = runTool(dir, "scrape empty.html");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
}

// Catches bad input crashing the tool or passing as success.
TEST(VideoSiteTool, ScrapeRefusesMissingPageAndBadUsage) {
    cd::test::TempDir dir;
    ToolRun r = runTool(dir, "scrape missing.html");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("missing.html"), std::string::npos);
    r = runTool(dir, "scrape");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("usage: channeldeck-tool scrape PAGE"), std::string::npos);
    fs::create_directory(dir / "folder");
    r = runTool(dir, "scrape folder");
    EXPECT_EQ(r.status, 1);
}

// Catches the command's page differing from the program's, or ignoring the
// configured player host.
TEST(VideoSiteTool, VideoPageWritesThePlayerPage) {
    cd::test::TempDir dir;
    fs::create_directory(dir / "out");
    const ToolRun r = runTool(dir, "--video-player-host player.example video-page 'My clip' abc out");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "out/youtube.html\n");
    EXPECT_EQ(dir.read("out/youtube.html"),
              "<html><body bgcolor=black><center><font color=white><h1>My clip</h1><br></font>"
              "<iframe width='425' height='355' src='http://player.example/embed/abc' frameborder='0' "
              "allowfullscreen></iframe></center></body></html>\r\n");
}

// Catches markup in a title reaching the page unescaped.
TEST(VideoSiteTool, VideoPageEscapesTheTitle) {
    cd::test::TempDir dir;
    const ToolRun r = runTool(dir, "video-page '<script>x</script>' id1 .");
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string html = dir.read("youtube.html");
    EXPECT_EQ(html.find("<script>"), std::string::npos);
    EXPECT_NE(html.find("<h1>&lt;script&gt;x&lt;/script&gt;</h1>"), std::string::npos);
}

// Catches a missing folder or wrong arguments being accepted.
TEST(VideoSiteTool, VideoPageRefusesBadFolderAndUsage) {
    cd::test::TempDir dir;
    ToolRun r = runTool(dir, "video-page T id no-such-folder");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("no-such-folder"), std::string::npos);
    r = runTool(dir, "video-page T id");
    EXPECT_EQ(r.status, 2);
    fs::create_directory(dir / "f");
    fs::create_directory(dir / "f" / "youtube.html");
    r = runTool(dir, "video-page T id f");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("youtube.html"), std::string::npos);
}

}  // namespace
