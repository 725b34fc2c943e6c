#include "catalogue/line_cipher.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace cd::catalogue {
namespace {

std::string bytes(std::initializer_list<int> values) {
    std::string s;
    for (const int v : values) s += static_cast<char>(v);
    return s;
}

int at(const std::string& s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

// Catches a shift or wrap that differs from existing catalogue files (256 instead of 255, or another shift).
TEST(LineCipher, KnownBytesEncodeAndDecodeAsExistingFilesExpect) {
    EXPECT_EQ(EncodeLine(bytes({0, 124, 191, 192, 255})), bytes({64, 188, 255, 1, 64}));
    EXPECT_EQ(DecodeLine(bytes({64, 188, 255, 1, 0})), bytes({0, 124, 191, 192, 191}));
    EXPECT_EQ(EncodeLine("abc"), bytes({161, 162, 163}));
    EXPECT_EQ(EncodeLine("|"), bytes({188})) << "the field separator is stored as 188";
}

// Catches a cipher that mishandles the empty line (e.g. reading past it).
TEST(LineCipher, EmptyLineStaysEmpty) {
    EXPECT_EQ(EncodeLine(""), "");
    EXPECT_EQ(DecodeLine(""), "");
}

// Catches a wrap that loses or changes any byte other than 255.
TEST(LineCipher, EveryByteBut255SurvivesAndNoEncodedByteIsZero) {
    for (int c = 0; c <= 255; ++c) {
        const std::string plain(1, static_cast<char>(c));
        const std::string coded = EncodeLine(plain);
        ASSERT_EQ(coded.size(), 1u);
        EXPECT_NE(at(coded, 0), 0) << "byte " << c;
        EXPECT_EQ(at(DecodeLine(coded), 0), c == 255 ? 0 : c) << "byte " << c;
    }
}

// Catches the two bytes that break a line: 204 must become CR, 201 LF.
TEST(LineCipher, Bytes204And201EncodeToLineBreakBytes) {
    EXPECT_EQ(EncodeLine(bytes({204})), "\r");
    EXPECT_EQ(EncodeLine(bytes({201})), "\n");
}

// Catches a vectorised loop whose tail or head handling differs from the byte rule, at every length.
TEST(LineCipher, LongLinesFollowTheByteRuleAtEveryLengthAndOffset) {
    std::mt19937 rng(7);
    std::string plain(300, '\0');
    for (char& c : plain) c = static_cast<char>(rng() & 0xff);
    for (std::size_t len = 0; len <= plain.size(); ++len) {
        const std::string_view in(plain.data() + (len % 7), std::min(len, plain.size() - len % 7));
        const std::string coded = EncodeLine(in);
        const std::string back = DecodeLine(coded);
        ASSERT_EQ(coded.size(), in.size());
        ASSERT_EQ(back.size(), in.size());
        for (std::size_t i = 0; i < in.size(); ++i) {
            const int c = static_cast<unsigned char>(in[i]);
            ASSERT_EQ(at(coded, i), c + 64 <= 255 ? c + 64 : c + 64 - 255) << "len " << len << " at " << i;
            ASSERT_EQ(at(back, i), c == 255 ? 0 : c) << "len " << len << " at " << i;
        }
    }
}

// Catches DecodeLineInto leaving stale bytes when the reused buffer was longer.
TEST(LineCipher, DecodeIntoReusedBufferTakesTheNewLength) {
    std::string buffer = DecodeLine(EncodeLine("a much longer first line"));
    DecodeLineInto(EncodeLine("ab"), buffer);
    EXPECT_EQ(buffer, "ab");
    DecodeLineInto("", buffer);
    EXPECT_EQ(buffer, "");
}

// Catches an intactness check that misses one of the two bad bytes or flags good ones.
TEST(LineCipher, EncodesIntactFlagsOnlyBytes204And255) {
    for (int c = 0; c <= 255; ++c) {
        const std::string line = "name" + std::string(1, static_cast<char>(c)) + "|x";
        const std::string readBack = DecodeLine(EncodeLine(line));
        const bool survives = readBack == line && EncodeLine(line).find('\r') == std::string::npos;
        EXPECT_EQ(EncodesIntact(line), survives) << "byte " << c;
    }
}

}  // namespace
}  // namespace cd::catalogue
