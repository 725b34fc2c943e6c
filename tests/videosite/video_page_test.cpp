#include "videosite/video_page.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/fakes.h"
#include "support/temp_dir.h"

namespace cd::videosite {
namespace {

namespace fs = std::filesystem;

class VideoPageTest : public ::testing::Test {
protected:
    test::TempDir dir;
    test::FakeBrowser browser;
    test::FakeDialogs dialogs;
    VideoPage page{dir.path(), browser, "player.example", dialogs, "ChannelDeck"};
};

// Catches any byte of the player page differing from the heading and the HTML5 player.
TEST_F(VideoPageTest, PlayerPageBytesForAbcMyClip) {
    ASSERT_TRUE(page.showVideoPage("My clip", "abc"));
    EXPECT_EQ(dir.read("youtube.html"),
              "<html><body bgcolor=black><center><font color=white><h1>My clip</h1><br></font>"
              "<iframe width='425' height='355' src='http://player.example/embed/abc' frameborder='0' "
              "allowfullscreen></iframe></center></body></html>\r\n");
    EXPECT_EQ(browser.navigated2, (std::vector<std::string>{(dir / "youtube.html").string()}));
}

// Catches a scraped title or id injecting markup or script into the local page.
TEST_F(VideoPageTest, TitleAndIdAreEscaped) {
    ASSERT_TRUE(page.showVideoPage("<script>alert('x')</script> & \"more\"", "a'><script>b"));
    const std::string html = dir.read("youtube.html");
    EXPECT_EQ(html.find("<script"), std::string::npos);
    EXPECT_NE(html.find("<h1>&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt; &amp; &quot;more&quot;</h1>"),
              std::string::npos);
    EXPECT_NE(html.find("/embed/a&#39;&gt;&lt;script&gt;b'"), std::string::npos);
    EXPECT_EQ(html.find("<object"), std::string::npos) << "no plug-in player";
}

// Catches the placeholder page differing from the message line.
TEST_F(VideoPageTest, MessagePageLine) {
    ASSERT_TRUE(page.writeMessagePage());
    EXPECT_EQ(dir.read("youtube.html"),
              "<html><body bgcolor=black><center><font color=white><h1>Please select a video from the list to the "
              "left</h1><br></font></center></body></html>\r\n");
    EXPECT_EQ(browser.navigated2.size(), 1u);
}

// Catches the same video clicked twice not being rewritten and shown again.
TEST_F(VideoPageTest, SameVideoTwiceRewritesAndShowsAgain) {
    page.showVideoPage("One", "1");
    dir.write("youtube.html", "tampered");
    page.showVideoPage("One", "1");
    EXPECT_EQ(browser.navigated2.size(), 2u);
    EXPECT_EQ(dir.read("youtube.html").rfind("<html><body bgcolor=black><center><font color=white><h1>One", 0), 0u);
}

// Catches an unwritable page showing the previous video as if it were the
// chosen one, or failing without a word.
TEST_F(VideoPageTest, UnwritablePageShowsNothingAndSaysSo) {
    page.showVideoPage("Old", "old");
    fs::remove(dir / "youtube.html");
    fs::create_directory(dir / "youtube.html");
    EXPECT_FALSE(page.showVideoPage("New", "new"));
    EXPECT_EQ(browser.navigated2.size(), 1u);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_NE(dialogs.shown[0].text.find("youtube.html"), std::string::npos);
    EXPECT_FALSE(page.writeMessagePage());
    EXPECT_EQ(browser.navigated2.size(), 1u);
}

// Catches the escaping missing one of the five characters.
TEST(HtmlEscape, EscapesTheFiveMarkupCharacters) {
    EXPECT_EQ(HtmlEscape("a&b<c>d\"e'f"), "a&amp;b&lt;c&gt;d&quot;e&#39;f");
    EXPECT_EQ(HtmlEscape("plain \xE9"), "plain \xE9");
}

}  // namespace
}  // namespace cd::videosite
