#include "formats/pls_playlist.h"

#include <gtest/gtest.h>

namespace cd::formats {
namespace {

// Catches entries read in file order instead of by number, a missing title
// not falling back, keys of another case or other sections read, and a
// title without its file not counted.
TEST(PlsPlaylist, EntriesByNumberInTheirSection) {
    const auto parsed = parsePls(
        "\xEF\xBB\xBF\r\n"
        "[playlist]\r\n"
        "NumberOfEntries=4\r\n"
        "File10=http://radio/ten\r\n"
        "Title10=Ten, with comma\r\n"
        "file2 = http://radio/two \r\n"
        "Length2=-1\r\n"
        "TITLE2=  Two  \r\n"
        "File3=http://radio/three\r\n"
        "Title4=Orphan title\r\n"
        "FileX=http://not/a/number\r\n"
        "; a comment\r\n"
        "Version=2\r\n"
        "[other]\r\n"
        "File1=http://other/section\r\n");
    ASSERT_EQ(parsed.entries.size(), 3u);
    EXPECT_EQ(parsed.entries[0].address, "http://radio/two");
    EXPECT_EQ(parsed.entries[0].title, "Two");
    EXPECT_EQ(parsed.entries[1].address, "http://radio/three");
    EXPECT_EQ(parsed.entries[1].title, "");
    EXPECT_EQ(parsed.entries[2].address, "http://radio/ten");
    EXPECT_EQ(parsed.entries[2].title, "Ten, with comma");
    EXPECT_EQ(parsed.unreadable, 1u);
}

// Catches PLS told from M3U by anything but its first line that is not blank.
TEST(PlsPlaylist, ToldApartByItsSectionHeader) {
    EXPECT_TRUE(looksLikePls("[playlist]\nFile1=http://a\n"));
    EXPECT_TRUE(looksLikePls("\xEF\xBB\xBF\r\n  \r\n [Playlist] \r\n"));
    EXPECT_FALSE(looksLikePls("#EXTM3U\n[playlist]\n"));
    EXPECT_FALSE(looksLikePls("http://a\n"));
    EXPECT_FALSE(looksLikePls(""));
    EXPECT_TRUE(parsePls("File1=http://before/any/section\n").entries.empty());
}

}  // namespace
}  // namespace cd::formats
