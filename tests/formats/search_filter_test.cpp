#include "formats/search_filter.h"

#include <gtest/gtest.h>

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
