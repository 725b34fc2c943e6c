#include "localization/message_table.h"

#include <gtest/gtest.h>

#include "localization/case_fold.h"
#include "localization_fixture.h"

namespace cd::localization {
namespace {

using testing::testBrand;

// Catches a lookup that compares keys with their case.
TEST(MessageTable, KeysIgnoreCase) {
    MessageTable table(testBrand());
    addDefaultMessages(table);
    EXPECT_EQ(table.getMessages("msg_notfound"), table.getMessages("MSG_NOTFOUND"));
    EXPECT_EQ(table.getMessages("Msg_Deleted"), "Deleted ");
    EXPECT_EQ(table.getMessages("MSG_NOSUCHKEY"), "");
}

// Catches placeholders matched only in their exact spelling, or a first letter left low.
TEST(MessageTable, PlaceholdersIgnoreCaseAndFirstLetterIsRaised) {
    MessageTable table(testBrand());
    table.setMessage("MSG_A", "welcome to [programname] by [COMPANYNAME], see [Website]");
    EXPECT_EQ(table.getMessages("MSG_A"), "Welcome to ChannelDeck by Quenmark Software, see [Website]");
    table.setMessage("MSG_B", "\xC3\xA9tat de [ProgramName]");  // "état"
    EXPECT_EQ(table.getMessages("MSG_B"), "\xC3\x89tat de ChannelDeck");
}

// Catches a second setMessage of a key overwriting the first, or a lookup finding the last.
TEST(MessageTable, SameKeyTwiceFillsTwoEntriesAndTheFirstWins) {
    MessageTable table(testBrand());
    table.setMessage("MSG_X", "first");
    table.setMessage("msg_x", "second");
    EXPECT_TRUE(table.entries()[0].inUse);
    EXPECT_TRUE(table.entries()[1].inUse);
    EXPECT_EQ(table.entries()[1].text, "second");
    EXPECT_EQ(table.getMessages("MSG_X"), "First");
}

// Catches a table that grows past its 201 entries or overwrites the last one.
TEST(MessageTable, FullTableDropsFurtherMessages) {
    MessageTable table(testBrand());
    for (int i = 0; i < MessageTable::kSize; ++i) table.setMessage("K" + std::to_string(i), "t" + std::to_string(i));
    table.setMessage("EXTRA", "dropped");
    EXPECT_EQ(table.getMessages("K200"), "T200");
    EXPECT_EQ(table.getMessages("EXTRA"), "");
    EXPECT_EQ(table.entries()[200].key, "K200");
}

// Catches default messages added in another order or missing the language window's two.
TEST(MessageTable, DefaultMessagesComeFirstInOrder) {
    MessageTable table(testBrand());
    addDefaultMessages(table);
    const auto& e = table.entries();
    EXPECT_EQ(e[0].key, "MSG_CHANNELLIST");
    EXPECT_EQ(e[1].key, "MSG_DELETED");
    EXPECT_EQ(e[2].key, "MSG_NOTFOUND");
    EXPECT_EQ(table.getMessages("MSG_TITLELANGUAGE"), "Language Selection");
    EXPECT_EQ(table.getMessages("MSG_DOWNLOADED"),
              "The newest language file has been downloaded. Choose a language from the list.");
    EXPECT_FALSE(table.getMessages("MSG_LANGUAGENOTSAVED").empty());
}

// Catches case folding that breaks multi-byte text or misses accented capitals.
TEST(CaseFold, FoldsAsciiAndLatinLettersOnly) {
    EXPECT_EQ(upperText("fran\xC3\xA7"
                        "ais"),
              "FRAN\xC3\x87"
              "AIS");
    EXPECT_TRUE(
        equalsIgnoringCase("Fran\xC3\xA7"
                           "ais",
                           "FRAN\xC3\x87"
                           "AIS"));
    EXPECT_FALSE(equalsIgnoringCase(" English", "English"));
    EXPECT_EQ(upperText("\xC3\xB7"), "\xC3\xB7") << "the division sign has no capital";
    EXPECT_EQ(upperText("\xE2\x84\xA2x"), "\xE2\x84\xA2X") << "other characters pass unchanged";
    EXPECT_EQ(raiseFirst("\xC3\xBC"
                         "ber"),
              "\xC3\x9C"
              "ber");
    EXPECT_EQ(raiseFirst(""), "");
}

}  // namespace
}  // namespace cd::localization
