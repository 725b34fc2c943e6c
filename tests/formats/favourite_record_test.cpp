#include "formats/favourite_record.h"

#include <gtest/gtest.h>

#include "formats/line_cipher.h"

namespace cd::formats {
namespace {

Favourite favourite(std::string name, std::string address, std::string category = {}, std::string type = {}) {
    return Favourite{std::move(name), std::move(address), std::move(category), std::move(type)};
}

// Catches fields written in the wrong order or with a wrong separator.
TEST(FavouriteRecord, JoinsNameAddressCategoryTypeWithBars) {
    EXPECT_EQ(FavouriteRecord(favourite("News 24", "http://n/24", "TV", "English")), "News 24|http://n/24|TV|English");
    EXPECT_EQ(FavouriteRecord(favourite("My clip", "youtube=abc")), "My clip|youtube=abc||");
}

// Catches a reader that keeps a line without any "|" as a favourite.
TEST(FavouriteRecord, LineWithoutBarIsNoRecord) {
    EXPECT_FALSE(ParseFavouriteRecord("just some text").has_value());
    EXPECT_FALSE(ParseFavouriteRecord("").has_value());
}

// Catches short records that are dropped or read past their end, extra
// fields that leak into the type, and extra fields not handed back whole.
TEST(FavouriteRecord, ShortAndLongLinesFillFourFields) {
    auto two = ParseFavouriteRecord("Radio One|http://r/1");
    ASSERT_TRUE(two);
    EXPECT_EQ(two->name, "Radio One");
    EXPECT_EQ(two->address, "http://r/1");
    EXPECT_EQ(two->category, "");
    EXPECT_EQ(two->type, "");

    auto one = ParseFavouriteRecord("|");
    ASSERT_TRUE(one);
    EXPECT_EQ(one->name, "");
    EXPECT_EQ(one->address, "");

    std::string more = "stale";
    auto six = ParseFavouriteRecord("A|B|C|D|E|F", &more);
    ASSERT_TRUE(six);
    EXPECT_EQ(six->category, "C");
    EXPECT_EQ(six->type, "D");
    EXPECT_EQ(more, "|E|F") << "the fields after the fourth, for the save to write back";
    ASSERT_TRUE(ParseFavouriteRecord("A|B|C|D|", &more));
    EXPECT_EQ(more, "|") << "an empty fifth field is still a field";
    ASSERT_TRUE(ParseFavouriteRecord("A|B|C|D", &more));
    EXPECT_EQ(more, "");
    ASSERT_TRUE(ParseFavouriteRecord("A|B", &more));
    EXPECT_EQ(more, "");
}

// Catches a "|", a byte the cipher turns into CR or one it reads back as 0
// surviving into a record, where it would split or change the record.
TEST(FavouriteRecord, SafeFieldReplacesBarAndCrByte) {
    EXPECT_EQ(SafeFavouriteField("AC|DC Live"), "AC/DC Live");
    const std::string withCc = std::string("L") + static_cast<char>(0xCC) + "ve";
    EXPECT_EQ(SafeFavouriteField(withCc), "LIve");
    EXPECT_EQ(EncodeLine(std::string(1, static_cast<char>(0xCC))), "\r");
    EXPECT_EQ(SafeFavouriteField("plain \xE9t\xE9"), "plain \xE9t\xE9");
    EXPECT_EQ(SafeFavouriteField("na\xFFve"), "nayve");
    std::string everyByte;
    for (int b = 1; b < 256; ++b) everyByte += static_cast<char>(b);
    EXPECT_TRUE(EncodesIntact(SafeFavouriteField(everyByte)));
}

// Catches a file that is not encoded line by line with CR LF endings.
TEST(FavouriteRecord, FileBytesEncodeEachRowWithCrLf) {
    EXPECT_EQ(FavouritesFileBytes({}), "");
    EXPECT_EQ(FavouritesFileBytes({favourite("A", "http://a", "TV", "English"), favourite("B", "youtube=x")}),
              EncodeLine("A|http://a|TV|English") + "\r\n" + EncodeLine("B|youtube=x||") + "\r\n");
}

}  // namespace
}  // namespace cd::formats
