#include "catalogue/channel_record.h"

#include <gtest/gtest.h>

#include "catalogue/editor_row.h"

namespace cd::catalogue {
namespace {

// Catches a parser that keeps a fifth field or shifts the first four.
TEST(ChannelRecord, FiveFieldsGiveTheFirstFour) {
    const auto r = ParseChannelRecord("Fox|http://fox/live|TV|English/Spanish|extra");
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->name, "Fox");
    EXPECT_EQ(r->address, "http://fox/live");
    EXPECT_EQ(r->category, "TV");
    EXPECT_EQ(r->languages, "English/Spanish");
    EXPECT_EQ(r->fieldCount, 5u);
    EXPECT_EQ(RecordLine(*r), "Fox|http://fox/live|TV|English/Spanish");
}

// Catches a line without "|" (blank lines included) being taken as a record.
TEST(ChannelRecord, NoSeparatorMeansNotARecord) {
    EXPECT_FALSE(ParseChannelRecord("").has_value());
    EXPECT_FALSE(ParseChannelRecord("just a name").has_value());
    EXPECT_FALSE(SplitRecordFields(" ").has_value());
    EXPECT_FALSE(IsRecordLine("abc"));
    EXPECT_TRUE(IsRecordLine("abc|"));
}

// Catches short records read past their end, or mistaken for complete ones.
TEST(ChannelRecord, ShortRecordsKeepMissingFieldsEmptyAndSayHowManyThereWere) {
    const auto two = ParseChannelRecord("Name|http://x");
    ASSERT_TRUE(two.has_value());
    EXPECT_EQ(two->name, "Name");
    EXPECT_EQ(two->address, "http://x");
    EXPECT_EQ(two->category, "");
    EXPECT_EQ(two->languages, "");
    EXPECT_EQ(two->fieldCount, 2u);
    const auto bar = ParseChannelRecord("|");
    ASSERT_TRUE(bar.has_value());
    EXPECT_EQ(bar->fieldCount, 2u);
    EXPECT_EQ(*bar, (ChannelRecord{"", "", "", "", 2}));
    const auto empties = SplitRecordFields("|||");
    ASSERT_TRUE(empties.has_value());
    EXPECT_EQ(empties->fieldCount, 4u);
}

// Catches a "|" inside a name being treated as anything but a separator.
TEST(ChannelRecord, NothingEscapesTheSeparator) {
    const auto r = ParseChannelRecord("A|B|http://x|TV|English");
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->name, "A");
    EXPECT_EQ(r->address, "B");
    EXPECT_EQ(r->category, "http://x");
    EXPECT_EQ(r->languages, "TV");
}

// Catches an editor row with the address in the wrong place, or a encryptAndSaveButton that reads the tag.
TEST(EditorRow, LayoutPutsTheAddressInTagAndSubItemThree) {
    const auto fields = SplitRecordFields("Fox|http://fox|TV|English");
    ASSERT_TRUE(fields.has_value());
    ui::ListItem row = EditorRow(*fields);
    EXPECT_EQ(row.text, "Fox");
    EXPECT_EQ(row.tag, "http://fox");
    EXPECT_EQ(row.subItem(1), "TV");
    EXPECT_EQ(row.subItem(2), "English");
    EXPECT_EQ(row.subItem(3), "http://fox");
    row.setSubItem(3, "http://new");
    EXPECT_EQ(RecordLine(EditorRowRecord(row)), "Fox|http://new|TV|English");
    ui::ListItem categoryViewRow;
    categoryViewRow.text = "N";
    categoryViewRow.tag = "http://t";
    categoryViewRow.setSubItem(1, "Radio");
    EXPECT_EQ(RecordLine(EditorRowRecord(categoryViewRow)), "N||Radio|") << "missing sub-items give empty fields";
}

}  // namespace
}  // namespace cd::catalogue
