#include "formats/search_filter.h"

#include <gtest/gtest.h>
#include <utf8proc.h>

#include <string>
#include <vector>

namespace cd::formats {
namespace {

// Catches a search that minds letter case or accents, or that compares
// composed and decomposed forms of one name as different texts.
TEST(SearchFilter, IgnoresCaseAccentsAndNormalizationForm) {
    const std::string composed = "Caf\xC3\xA9 Cr\xC3\xA8me";      // NFC
    const std::string decomposed = "Cafe\xCC\x81 Cre\xCC\x80me";  // NFD
    const std::string codePage = "Caf\xE9 Cr\xE8me";              // windows-1252 bytes
    for (const std::string& name : {composed, decomposed, codePage}) {
        EXPECT_TRUE(nameMatches(name, "cafe"));
        EXPECT_TRUE(nameMatches(name, "CAF\xC3\x89"));  // "CAFÉ"
        EXPECT_TRUE(nameMatches(name, "caf\xC3\xA9 cr"));
        EXPECT_TRUE(nameMatches(name, "Cafe\xCC\x81"));  // typed decomposed
        EXPECT_TRUE(nameMatches(name, "\xC3\xA8me"));
        EXPECT_FALSE(nameMatches(name, "cafes"));
    }
    EXPECT_TRUE(nameMatches("cafe", "CAF\xC3\x89"));
    EXPECT_TRUE(
        nameMatches("Stra\xC3\x9F"
                    "e 1",
                    "STRASSE"));  // full case folding
    EXPECT_TRUE(nameMatches("\xD0\x9F\xD0\xB5\xD1\x80\xD0\xB2\xD1\x8B\xD0\xB9 \xD0\xBA\xD0\xB0\xD0\xBD\xD0\xB0\xD0\xBB",
                            "\xD0\x9F\xD0\x95\xD0\xA0\xD0\x92"));                  // Cyrillic, upper against lower
    EXPECT_TRUE(nameMatches("\xEF\xBC\xA1\xEF\xBC\xA2\xEF\xBC\xA3 News", "abc"));  // full-width letters
    EXPECT_TRUE(nameMatches("Anything", ""));
    EXPECT_FALSE(nameMatches("", "a"));
}

// The key as its definition makes it, a whole text at a time.
std::string referenceKey(const std::string& utf8) {
    std::vector<utf8proc_int32_t> buffer(utf8.size() * 18 + 16);
    const utf8proc_ssize_t n = utf8proc_decompose(
        reinterpret_cast<const utf8proc_uint8_t*>(utf8.data()), static_cast<utf8proc_ssize_t>(utf8.size()),
        buffer.data(), static_cast<utf8proc_ssize_t>(buffer.size()),
        static_cast<utf8proc_option_t>(UTF8PROC_DECOMPOSE | UTF8PROC_COMPAT | UTF8PROC_CASEFOLD | UTF8PROC_IGNORE));
    std::string key;
    for (utf8proc_ssize_t i = 0; i < n; ++i) {
        utf8proc_int32_t c = buffer[static_cast<std::size_t>(i)];
        const auto category = utf8proc_category(c);
        if (category == UTF8PROC_CATEGORY_MN || category == UTF8PROC_CATEGORY_ME) continue;
        if (category == UTF8PROC_CATEGORY_CC) c = ' ';
        utf8proc_uint8_t encoded[4];
        key.append(reinterpret_cast<const char*>(encoded), static_cast<std::size_t>(utf8proc_encode_char(c, encoded)));
    }
    return key;
}

std::string utf8Of(char32_t c) {
    utf8proc_uint8_t encoded[4];
    return std::string(reinterpret_cast<const char*>(encoded),
                       static_cast<std::size_t>(utf8proc_encode_char(static_cast<utf8proc_int32_t>(c), encoded)));
}

// Catches the per-character shortcut of the keys drifting from the whole-text
// definition: for every character it covers, and for texts whose marks need
// reordering or that mix in characters it does not cover.
TEST(SearchFilter, KeysAreTheWholeTextFoldingCharacterByCharacter) {
    for (char32_t c = 0x80; c < 0x3400; ++c) {
        const std::string text = "x" + utf8Of(c) + "Y";
        ASSERT_EQ(searchKey(text), referenceKey(text)) << std::hex << static_cast<unsigned>(c);
    }
    for (const std::string text : {
             "a\xCC\xA3\xCC\x81 a\xCC\x81\xCC\xA3",                           // marks in both orders
             "Ti\xE1\xBA\xBFng Vi\xE1\xBB\x87t",                              // Vietnamese
             "\xE0\xA4\x95\xE0\xA4\xBF\xE0\xA4\xA4\xE0\xA4\xBE\xE0\xA4\xAC",  // Hindi
             "\xD8\xA7\xD9\x84\xD9\x92\xD8\xB9\xD9\x8E\xD8\xB1\xD9\x8E\xD8\xA8\xD9\x90\xD9\x8A\xD9\x8E\xD9\x91\xD8"
             "\xA9",                                           // Arabic with harakat
             "\xCE\x86\xCE\xB8\xCE\xAE\xCE\xBD\xCE\xB1",       // Greek with tonos
             "\xE6\x9D\xB1\xE4\xBA\xAC TV \xC3\x89t\xC3\xA9",  // CJK and Latin
             "\xEC\x84\x9C\xEC\x9A\xB8 \xF0\x9F\x93\xBA",      // Hangul, an emoji
         })
        EXPECT_EQ(searchKey(text), referenceKey(text)) << text;
    EXPECT_EQ(searchKey("\xCE\x86\xCE\xB8\xCE\xAE\xCE\xBD\xCE\xB1"), "\xCE\xB1\xCE\xB8\xCE\xB7\xCE\xBD\xCE\xB1");
}

// Catches a one-pass search that lists a row twice, finds a text spanning
// two rows' keys, loses the row order, or differs from matching row by row.
TEST(SearchFilter, IndexFindsExactlyTheMatchingRowsInOrder) {
    const std::vector<std::string> names = {
        "ab",          "c", "Caf\xE9", "news news news", "NEWS", "", "Cafe\xCC\x81", "x\tnews",
        "\xC3\x89tat", "b", "a",       "Caf\xC3\xA9 24",
    };
    SearchIndex index;
    for (const auto& n : names) index.add(n);
    ASSERT_EQ(index.size(), names.size());
    for (const std::string typed :
         {"", "a", "b", "bc", "ab", "news", "x news", "caf\xC3\xA9", "etat", "E", "zzz", "\xC3\x89"}) {
        std::vector<std::uint32_t> expected;
        for (std::size_t i = 0; i < names.size(); ++i)
            if (nameMatches(names[i], typed)) expected.push_back(static_cast<std::uint32_t>(i));
        EXPECT_EQ(index.find(typed), expected) << typed;
    }
    EXPECT_EQ(index.find("bc"), std::vector<std::uint32_t>{});
    EXPECT_EQ(index.find("news"), (std::vector<std::uint32_t>{3, 4, 7}));
    EXPECT_EQ(index.find("caf"), (std::vector<std::uint32_t>{2, 6, 11}));

    std::vector<std::uint32_t> rows = {99};
    index.clear();
    index.find("", rows);
    EXPECT_TRUE(rows.empty());
    index.add("Late");
    EXPECT_EQ(index.find("LATE"), std::vector<std::uint32_t>{0});
}

}  // namespace
}  // namespace cd::formats
