#include "util/text.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "util/files.h"
#include "util/lines.h"

namespace cd::util {
namespace {

TEST(Text, CaseInsensitiveSearchAndReplaceDoNotRescan) {
    EXPECT_EQ(ifind("Fox TV", "tv"), 4u);
    EXPECT_EQ(ifind("abc", "", 3), 3u);
    EXPECT_EQ(ifind("abc", "x", 4), std::string::npos);
    EXPECT_EQ(ireplaceAll("Fox tv tvland", "tv", "TV"), "Fox TV TVland");
    EXPECT_EQ(ireplaceAll("aaa", "a", "aa"), "aaaaaa");
    EXPECT_EQ(replaceAll("abc", "", "x"), "abc");
}

TEST(Text, SplitKeepsEmptyPiecesAndTrimSpacesOnlyTrimsSpaces) {
    EXPECT_EQ(split("a||b|", "|"), (std::vector<std::string>{"a", "", "b", ""}));
    EXPECT_EQ(split("", "|").size(), 1u);
    EXPECT_EQ(trimSpaces("  \r\n "), "\r\n");
    EXPECT_EQ(trimSpaces("    "), "");
}

// Catches a line reader that splits at a lone LF or invents a last empty line.
TEST(Lines, LineEndsAtCrAndLoneLfStaysInTheLine) {
    EXPECT_EQ(readLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b\nc", "d"}));
    EXPECT_EQ(readLines("a\r\n"), (std::vector<std::string>{"a"}));
    EXPECT_EQ(readLines("a\r\n\r\n"), (std::vector<std::string>{"a", ""}));
    EXPECT_TRUE(readLines("").empty());
}

// Catches a replace that half-writes, or that loses the old file on failure.
TEST(Files, AtomicWriteReplacesWholeOrNotAtAll) {
    test::TempDir dir;
    const auto p = dir / "Favorites.txt";
    ASSERT_TRUE(writeFileAtomic(p, "old"));
    ASSERT_TRUE(writeFileAtomic(p, "new contents"));
    EXPECT_EQ(dir.read("Favorites.txt"), "new contents");
    std::filesystem::create_directory(dir / "folder");
    std::string error;
    EXPECT_FALSE(writeFileAtomic(dir / "folder", "x", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(writeFileAtomic(dir / "missing" / "f.txt", "x"));
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
    EXPECT_EQ(entries, 2) << "no temporary file is left behind";
}

TEST(Files, FileExistsIgnoresCaseAndFolders) {
    test::TempDir dir;
    dir.write("Admin.TXT", "");
    std::filesystem::create_directory(dir / "Help.chm");
    EXPECT_TRUE(fileExists(dir / "admin.txt"));
    EXPECT_FALSE(fileExists(dir / "Help.chm"));
    EXPECT_FALSE(fileExists(dir / "nothing"));
    EXPECT_FALSE(fileExists(dir / "nofolder" / "x"));
}

}  // namespace
}  // namespace cd::util
