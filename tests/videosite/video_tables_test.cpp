#include "videosite/video_tables.h"

#include <gtest/gtest.h>

namespace cd::videosite {
namespace {

// Catches a listing kind missing, misspelt or out of its list order.
TEST(VideoTables, ListingKindsInOrderWithTheirPaths) {
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Featured", "/browse?s=rf&t=&l=&e="},
        {"Most Viewed", "/browse?s=mp&t=&l=&e="},
        {"Most Discussed", "/browse?s=md&t=&l=&e="},
        {"Top Favorites", "/browse?s=mf&t=&l=&e="},
        {"Autos and Vehicles", "/browse?s=mf&t=t&c=2&l=&e="},
        {"Comedy", "/browse?s=mf&t=t&c=23&l=&e="},
        {"Education", "/browse?s=mf&t=t&c=27&l=&e="},
        {"Entertainment", "/browse?s=mf&t=t&c=24&l=&e="},
        {"Film and Animation", "/browse?s=mf&t=t&c=1&l=&e="},
        {"Howto and Style", "/browse?s=mf&t=t&c=26&l=&e="},
        {"Music", "/browse?s=mf&t=t&c=10&l=&e="},
        {"News and Politics", "/browse?s=mf&t=t&c=25&l=&e="},
        {"People and Blogs", "/browse?s=mf&t=t&c=22&l=&e="},
        {"Pets and Animals", "/browse?s=mf&t=t&c=15&l=&e="},
        {"Science and Technology", "/browse?s=mf&t=t&c=28&l=&e="},
        {"Sports", "/browse?s=mf&t=t&c=17&l=&e="},
        {"Travel and Events", "/browse?s=mf&t=t&c=19&l=&e="},
    };
    ASSERT_EQ(kListingKinds.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(kListingKinds[i].name, expected[i].first);
        EXPECT_EQ(kListingKinds[i].pathAndQuery, expected[i].second);
    }
}

// Catches a country missing, out of order, or mapped to the wrong code.
TEST(VideoTables, RegionsInOrderWithTheirCodes) {
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Australia", "en_AU"},      {"Brazil", "pt_BR"},        {"Canada", "en_CA"},      {"France", "fr_FR"},
        {"Germany", "de_DE"},        {"Hong Kong", "zh_HK"},     {"Ireland", "en_IE"},     {"Italy", "it_IT"},
        {"Japan", "ja_JP"},          {"Mexico", "es_MX"},        {"Netherlands", "nl_NL"}, {"New Zealand", "en_NZ"},
        {"Poland", "pl_PL"},         {"Russia", "ru_RU"},        {"Spain", "es_ES"},       {"Taiwan", "zh_TW"},
        {"United Kingdom", "en_GB"}, {"United States", "en_US"},
    };
    ASSERT_EQ(kRegions.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(kRegions[i].country, expected[i].first);
        EXPECT_EQ(kRegions[i].code, expected[i].second);
    }
}

// Catches look-ups that ignore case or accept near misses.
TEST(VideoTables, LookupsAreCaseSensitive) {
    EXPECT_EQ(ListingPath("Music").value_or(""), "/browse?s=mf&t=t&c=10&l=&e=");
    EXPECT_FALSE(ListingPath("music"));
    EXPECT_FALSE(ListingPath("Music "));
    EXPECT_EQ(RegionCode("Japan").value_or(""), "ja_JP");
    EXPECT_FALSE(RegionCode("japan"));
    EXPECT_FALSE(RegionCode("SEARCH"));
}

// Catches the selectors missing entries, the search entry, or losing the
// start-up texts while being filled.
TEST(VideoTables, FillsBothSelectorsAndKeepsTheirTexts) {
    ui::MainWindow form;
    FillVideoSelectors(form);
    FillVideoSelectors(form);
    ASSERT_EQ(form.videoKindBox->entries().size(), 17u);
    EXPECT_EQ(form.videoKindBox->entries().front(), "Featured");
    EXPECT_EQ(form.videoKindBox->entries()[5], "Comedy");
    EXPECT_EQ(form.videoKindBox->entries().back(), "Travel and Events");
    ASSERT_EQ(form.videoCountryBox->entries().size(), 19u);
    EXPECT_EQ(form.videoCountryBox->entries().front(), "Australia");
    EXPECT_EQ(form.videoCountryBox->entries()[17], "United States");
    EXPECT_EQ(form.videoCountryBox->entries().back(), "SEARCH");
    EXPECT_EQ(form.videoKindBox->text(), "Featured");
    EXPECT_EQ(form.videoCountryBox->text(), "United States");
}

// Catches the listing address losing a part or gaining one for an unknown kind.
TEST(VideoTables, ListingBaseJoinsHostPathRegionAndPageKey) {
    EXPECT_EQ(ListingBase("video.example", "Featured", "ja_JP"), "http://video.example/browse?s=rf&t=&l=&e=ja_JP&p=");
    EXPECT_EQ(ListingBase("video.example", "Comedy", "en_us"),
              "http://video.example/browse?s=mf&t=t&c=23&l=&e=en_us&p=");
    EXPECT_EQ(ListingBase("video.example", "Typed by hand", "en_us"), "");
}

// Catches search text that could split or end the query, or text that is
// needlessly changed.
TEST(VideoTables, SearchTextIsPercentEncoded) {
    EXPECT_EQ(EncodeSearchText("Enter search here"), "Enter%20search%20here");
    EXPECT_EQ(EncodeSearchText("tom & jerry #1 +50% a=b"), "tom%20%26%20jerry%20%231%20%2B50%25%20a%3Db");
    EXPECT_EQ(EncodeSearchText(std::string("caf\xE9\t\x7F", 6)), "caf%E9%09%7F");
    EXPECT_EQ(EncodeSearchText("A-z_0.9~/?:"), "A-z_0.9~/?:");
    EXPECT_EQ(SearchBase("s.example", "cats"),
              "http://s.example/results?search_type=search_videos&search_query=cats&search_sort=relevance"
              "&search_category=0&search=Search&v=&uploaded=&filter=1&page=");
}

}  // namespace
}  // namespace cd::videosite
