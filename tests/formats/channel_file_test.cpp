#include "formats/channel_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/line_cipher.h"
#include "support/temp_dir.h"

namespace cd::formats {
namespace {

std::string encoded(std::initializer_list<std::string> plain) {
    std::string out;
    for (const auto& l : plain) out += EncodeLine(l) + "\r\n";
    return out;
}

std::vector<std::string> names(const ListedChannels& listed) {
    std::vector<std::string> out;
    for (const auto& c : listed.channels) out.push_back(c.name);
    return out;
}

// Catches a record split differently from the catalogue: further fields
// kept, short records padded wrongly, a line without "|" taken as a record.
TEST(ChannelFile, RecordLinesSplitAsTheCatalogueDoes) {
    std::size_t fields = 0;
    EXPECT_EQ(parseRecordLine("A|http://a|TV|English|extra|more", &fields),
              (Channel{"A", "http://a", "TV", "English"}));
    EXPECT_EQ(fields, 6u);
    EXPECT_EQ(parseRecordLine("A|http://a", &fields), (Channel{"A", "http://a", "", ""}));
    EXPECT_EQ(fields, 2u);
    EXPECT_EQ(parseRecordLine("|||", &fields), Channel{});
    EXPECT_EQ(fields, 4u);
    EXPECT_FALSE(parseRecordLine("no record").has_value());
    EXPECT_EQ(recordLine({"A", "http://a", "TV", "English/French"}), "A|http://a|TV|English/French");
}

// Catches a list that differs from the category view's: category compared
// without letter case, language not as a substring ignoring case, "All" or
// empty values read otherwise, a search not applied to the names.
TEST(ChannelFile, ListsWhatTheCategoryViewListsNarrowedBySearch) {
    test::TempDir dir;
    const auto file =
        dir.write("Data.txt", encoded({"Caf\xE9|http://1|TV|French/English", "tv lower|http://2|tv|English",
                                       "not a record", "Radio One|http://3|Radio|English", "BBC|http://4|TV|english",
                                       "Rai|http://5|TV|Italian|x", "Caf\xC3\xA9 Two|http://6|TV|German"}));
    EXPECT_EQ(names(listChannels(file, CategoryFilter("TV", "All"))),
              (std::vector<std::string>{"Caf\xE9", "BBC", "Rai", "Caf\xC3\xA9 Two"}));
    EXPECT_EQ(names(listChannels(file, CategoryFilter("", ""))),
              names(listChannels(file, CategoryFilter("TV", "All"))));
    EXPECT_EQ(names(listChannels(file, CategoryFilter("TV", "ENG"))), (std::vector<std::string>{"Caf\xE9", "BBC"}));
    EXPECT_EQ(names(listChannels(file, CategoryFilter("TV", "all"))), std::vector<std::string>{});
    // A search with a language chosen: both narrow. Names are windows-1252
    // and UTF-8 side by side; the typed text is composed or decomposed.
    EXPECT_EQ(names(listChannels(file, CategoryFilter("TV", "All"), "CAF\xC3\x89")),
              (std::vector<std::string>{"Caf\xE9", "Caf\xC3\xA9 Two"}));
    EXPECT_EQ(names(listChannels(file, CategoryFilter("TV", "All"), "cafe\xCC\x81")),
              (std::vector<std::string>{"Caf\xE9", "Caf\xC3\xA9 Two"}));
    EXPECT_EQ(names(listChannels(file, CategoryFilter("TV", "English"), "cafe")), std::vector<std::string>{"Caf\xE9"});
    EXPECT_EQ(names(listChannels(file, CategoryFilter("TV", "German"), "cafe two")),
              std::vector<std::string>{"Caf\xC3\xA9 Two"});
    const auto listed = listChannels(file, CategoryFilter("Radio", "All"));
    EXPECT_TRUE(listed.complete);
    EXPECT_EQ(listed.channels, (std::vector<Channel>{{"Radio One", "http://3", "Radio", "English"}}));
}

// Catches a list passed off as whole when the view would have stopped.
TEST(ChannelFile, StopsWhereTheCategoryViewStops) {
    test::TempDir dir;
    auto file = dir.write("a.txt", encoded({"A|http://1|TV|English", "short|http://2|TV", "B|http://3|TV|English"}));
    auto listed = listChannels(file, CategoryFilter("TV", "All"));
    EXPECT_FALSE(listed.complete);
    EXPECT_EQ(names(listed), std::vector<std::string>{"A"});
    EXPECT_NE(listed.problem.find("line 2"), std::string::npos) << listed.problem;
    // The same short record in another category is passed over, as the view does.
    EXPECT_TRUE(listChannels(file, CategoryFilter("Radio", "All")).complete);
    file = dir.write("b.txt", encoded({"A|http://1|TV|English", "two|fields"}));
    EXPECT_FALSE(listChannels(file, CategoryFilter("Radio", "All")).complete);
    file = dir.write("c.txt", encoded({"A|http://1|TV|English", "L|" + std::string(40000, 'x') + "|TV|E"}));
    listed = listChannels(file, CategoryFilter("TV", "All"));
    EXPECT_FALSE(listed.complete);
    EXPECT_NE(listed.problem.find("longer than 32767"), std::string::npos) << listed.problem;
    listed = listChannels(dir / "missing.txt", CategoryFilter("TV", "All"));
    EXPECT_FALSE(listed.complete);
}

// Catches appended records joined to a last line without its end, bytes of
// the file changed, or addresses read from the wrong field.
TEST(ChannelFile, AppendingKeepsEveryByteAndReadsAddresses) {
    const std::vector<Channel> added = {{"N", "http://n", "TV", ""}};
    const std::string newLine = EncodeLine("N|http://n|TV|") + "\r\n";
    EXPECT_EQ(withRecordsAppended("", added), newLine);
    EXPECT_EQ(withRecordsAppended("x\r\n", added), "x\r\n" + newLine);
    EXPECT_EQ(withRecordsAppended("x\r", added), "x\r" + newLine);
    EXPECT_EQ(withRecordsAppended("x", added), "x\r\n" + newLine);
    EXPECT_EQ(withRecordsAppended("x\n", added), "x\n\r\n" + newLine);  // a lone LF ends no line
    EXPECT_EQ(withRecordsAppended("x", {}), "x\r\n");

    KnownAddresses known;
    addAddressesOf(encoded({"A|http://a|TV|E", "no record", "B|http://b", "C|", "D|http://d|x|y|z"}) + "\r\n" +
                       EncodeLine("E|http://e|TV|E"),
                   known);
    EXPECT_EQ(known, (KnownAddresses{"http://a", "http://b", "", "http://d", "http://e"}));
}

}  // namespace
}  // namespace cd::formats
