#include "util/display_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "util/code_page.h"

namespace cd::util {
namespace {

// Catches a validator that lets through what UTF-8 forbids (so windows-1252
// names would show as garbage) or refuses what it allows.
TEST(DisplayText, ValidUtf8IsExactlyTheWellFormedForms) {
    EXPECT_TRUE(isValidUtf8(""));
    EXPECT_TRUE(isValidUtf8("plain"));
    EXPECT_TRUE(isValidUtf8("Caf\xC3\xA9"));
    EXPECT_TRUE(isValidUtf8("\xE2\x82\xAC"));         // U+20AC
    EXPECT_TRUE(isValidUtf8("\xED\x9F\xBF"));         // U+D7FF, the last before the surrogates
    EXPECT_TRUE(isValidUtf8("\xF4\x8F\xBF\xBF"));     // U+10FFFF
    EXPECT_TRUE(isValidUtf8("\xF0\x9F\x93\xBA TV"));  // an emoji
    EXPECT_FALSE(isValidUtf8("Caf\xE9"));             // windows-1252
    EXPECT_FALSE(isValidUtf8("\xC0\x80"));            // overlong NUL
    EXPECT_FALSE(isValidUtf8("\xE0\x9F\xBF"));        // overlong
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));        // a surrogate
    EXPECT_FALSE(isValidUtf8("\xF4\x90\x80\x80"));    // past U+10FFFF
    EXPECT_FALSE(isValidUtf8("\xF5\x80\x80\x80"));
    EXPECT_FALSE(isValidUtf8("\x80"));        // a continuation byte alone
    EXPECT_FALSE(isValidUtf8("\xC3"));        // cut short at the end
    EXPECT_FALSE(isValidUtf8("\xE2\x82 x"));  // cut short inside
}

// Catches names of the two kinds shown wrongly side by side: an existing
// single-byte catalogue must show as the code page always showed it, an
// imported UTF-8 name as itself.
TEST(DisplayText, Utf8AndWindows1252NamesSideBySide) {
    const std::vector<std::string> stored = {
        "BBC One",                                           // ASCII: the same either way
        "Caf\xE9 Cr\xE8me",                                  // windows-1252
        "Caf\xC3\xA9 Cr\xC3\xA8me",                          // the same name in UTF-8
        "\x80 \x93quoted\x94 \x81",                          // windows-1252 euro, quotes, an undefined byte
        "\xD0\x9F\xD0\xB5\xD1\x80\xD0\xB2\xD1\x8B\xD0\xB9",  // Cyrillic, UTF-8
        "Caf\xC3\xA9 \xE9",                                  // UTF-8 and windows-1252 mixed: not valid UTF-8
    };
    const std::vector<std::string> shown = {
        "BBC One",
        "Caf\xC3\xA9 Cr\xC3\xA8me",
        "Caf\xC3\xA9 Cr\xC3\xA8me",
        "\xE2\x82\xAC \xE2\x80\x9Cquoted\xE2\x80\x9D \xC2\x81",
        "\xD0\x9F\xD0\xB5\xD1\x80\xD0\xB2\xD1\x8B\xD0\xB9",
        "Caf\xC3\x83\xC2\xA9 \xC3\xA9",
    };
    for (std::size_t i = 0; i < stored.size(); ++i) EXPECT_EQ(displayText(stored[i]), shown[i]) << i;
    // Whatever is not UTF-8 shows exactly as the code page decoder shows it.
    for (int b = 0x80; b <= 0xFF; ++b) {
        const std::string one = "x" + std::string(1, static_cast<char>(b)) + "y";
        EXPECT_EQ(displayText(one), codePageToUtf8(one)) << b;
    }
}

}  // namespace
}  // namespace cd::util
