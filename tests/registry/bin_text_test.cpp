#include "registry/bin_text.h"

#include <gtest/gtest.h>

namespace cd::registry {
namespace {

// Catches lower-case digits, missing leading zeros or a missing leading space.
TEST(BinText, BinToStrWritesSpacedUpperCasePairs) {
    EXPECT_EQ(BinToStr(std::string("\x4a\x00\xff", 3)), " 4A 00 FF");
    EXPECT_EQ(BinToStr(""), "");
    EXPECT_EQ(BinToStr("\x0a"), " 0A");
}

// Catches a parser that needs exact spacing, or loses the null byte.
TEST(BinText, StrToBinReadsAnySpacing) {
    EXPECT_EQ(StrToBin(std::string_view("4A 00 FF")), std::string("\x4a\x00\xff", 3));
    EXPECT_EQ(StrToBin(std::string_view("4a00ff")), std::string("\x4a\x00\xff", 3));
    EXPECT_EQ(StrToBin(std::string_view(" 4 a0 0f f ")), std::string("\x4a\x00\xff", 3));
    EXPECT_EQ(StrToBin(std::string_view("   ")), "");
}

// Catches plain truncating division instead of rounding half to even.
TEST(BinText, StrToBinConvertsHalfTheLengthRoundedToEven) {
    EXPECT_EQ(StrToBin(std::string_view("A")), "");                                        // 0.5 -> 0
    EXPECT_EQ(StrToBin(std::string_view("ABC")), "\xab\x0c");                              // 1.5 -> 2
    EXPECT_EQ(StrToBin(std::string_view("ABCDE")), "\xab\xcd");                            // 2.5 -> 2
    EXPECT_EQ(StrToBin(std::string_view("0102030")), std::string("\x01\x02\x03\x00", 4));  // 3.5 -> 4
}

// Catches a piece parser that rejects or mis-reads digits before a non-hex character.
TEST(BinText, StrToBinTakesDigitsUpToTheFirstOtherCharacter) {
    EXPECT_EQ(StrToBin(std::string_view("1G")), "\x01");
    EXPECT_EQ(StrToBin(std::string_view("G1")), std::string(1, '\0'));
    EXPECT_EQ(StrToBin(std::string_view("ZZ7f")), std::string("\x00\x7f", 2));
}

// Catches StrToBin leaving the caller's text unchanged when it should rewrite it.
TEST(BinText, StrToBinRemovesSpacesFromTheCallersText) {
    std::string text = " 4A 00 ";
    EXPECT_EQ(StrToBin(text), std::string("\x4a\x00", 2));
    EXPECT_EQ(text, "4A00");
}

// Catches an isBinValid that accepts blanks or non-hex letters.
TEST(BinText, IsBinValidWantsOnlyHexDigits) {
    EXPECT_TRUE(isBinValid("4a 00 ff"));
    EXPECT_TRUE(isBinValid("ABC"));
    EXPECT_FALSE(isBinValid("4G"));
    EXPECT_FALSE(isBinValid(""));
    EXPECT_FALSE(isBinValid("    "));
    EXPECT_FALSE(isBinValid("4A,00"));
}

}  // namespace
}  // namespace cd::registry
