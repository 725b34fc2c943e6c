#include "util/file_lines.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "support/temp_dir.h"
#include "util/lines.h"

namespace cd::util {
namespace {

constexpr std::size_t kPiece = 1 << 20;  // what the reader reads at a time

std::vector<std::string> linesOf(const std::filesystem::path& path, std::size_t maxLine, FileLinesResult* result) {
    std::vector<std::string> lines;
    *result = forEachLineOfFile(path, maxLine, [&](std::string_view line) {
        lines.emplace_back(line);
        return true;
    });
    return lines;
}

// Catches a line split, joined or doubled where a read piece ends (a CR LF
// across the boundary above all), or a rule that differs from the one the
// rest of the program uses on a whole text.
TEST(FileLines, SameLinesAsTheWholeTextRuleAcrossPieceBoundaries) {
    std::mt19937 rng(7);
    std::string text;
    while (text.size() < 3 * kPiece + 1000) {
        const std::size_t length = rng() % 200;
        for (std::size_t i = 0; i < length; ++i) text += static_cast<char>(rng() % 3 == 0 ? '\n' : 'a' + rng() % 26);
        text += rng() % 2 ? "\r\n" : "\r";
    }
    // A CR LF exactly across the first boundary, a CR as the last byte of the
    // second piece followed by text, and a last line without its end.
    text[kPiece - 1] = '\r';
    text[kPiece] = '\n';
    text[2 * kPiece - 1] = '\r';
    text[2 * kPiece] = 'x';
    text += "last line";
    test::TempDir dir;
    dir.write("lines.txt", text);
    FileLinesResult result{};
    EXPECT_EQ(linesOf(dir / "lines.txt", 32'767, &result), readLines(text));
    EXPECT_EQ(result, FileLinesResult::Complete);
}

// Catches a trailing empty line after a final line end, or lines from an empty file.
TEST(FileLines, EndsAndEmptyFiles) {
    test::TempDir dir;
    dir.write("empty.txt", "");
    dir.write("ended.txt", "a\r\nb\r");
    dir.write("lf.txt", "a\nb\r\n\r\nc");
    FileLinesResult result{};
    EXPECT_TRUE(linesOf(dir / "empty.txt", 100, &result).empty());
    EXPECT_EQ(result, FileLinesResult::Complete);
    EXPECT_EQ(linesOf(dir / "ended.txt", 100, &result), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(linesOf(dir / "lf.txt", 100, &result), (std::vector<std::string>{"a\nb", "", "c"}));
}

// Catches an over-long line that is passed on, lines before it that are
// lost, or a file without line ends read whole into memory.
TEST(FileLines, OverLongLineEndsTheReadingAfterTheLinesBeforeIt) {
    test::TempDir dir;
    dir.write("limit.txt", "ok\r" + std::string(100, 'x') + "\r" + std::string(101, 'y') + "\rnever");
    FileLinesResult result{};
    const auto lines = linesOf(dir / "limit.txt", 100, &result);
    EXPECT_EQ(result, FileLinesResult::TooLong);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], std::string(100, 'x')) << "a line of exactly the limit is fine";

    dir.write("endless.txt", std::string(5 * kPiece, 'z'));
    int calls = 0;
    EXPECT_EQ(forEachLineOfFile(dir / "endless.txt", 32'767,
                                [&](std::string_view) {
                                    ++calls;
                                    return true;
                                }),
              FileLinesResult::TooLong);
    EXPECT_EQ(calls, 0);
}

// Catches a stop request that is ignored, and a missing file or a folder
// that reads as an empty file.
TEST(FileLines, StopsOnRequestAndReportsUnreadableFiles) {
    test::TempDir dir;
    dir.write("three.txt", "1\r2\r3\r");
    std::vector<std::string> seen;
    EXPECT_EQ(forEachLineOfFile(dir / "three.txt", 10,
                                [&](std::string_view line) {
                                    seen.emplace_back(line);
                                    return seen.size() < 2;
                                }),
              FileLinesResult::Stopped);
    EXPECT_EQ(seen, (std::vector<std::string>{"1", "2"}));

    FileLinesResult result{};
    linesOf(dir / "missing.txt", 10, &result);
    EXPECT_EQ(result, FileLinesResult::Unreadable);
    std::filesystem::create_directory(dir / "folder");
    linesOf(dir / "folder", 10, &result);
    EXPECT_EQ(result, FileLinesResult::Unreadable);
}

}  // namespace
}  // namespace cd::util
