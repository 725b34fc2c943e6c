// Reading Localization.txt: the group walk of LoadLanguage, the line rules of
// GetTranslation, and the two file-name operations.
#include <gtest/gtest.h>

#include <filesystem>

#include "localization_fixture.h"

namespace cd::localization {
namespace {

using testing::file;
using testing::group;
using testing::lfOnly;
using testing::LocalizationTest;

using LoadLanguageTest = LocalizationTest;

// Catches a loader that needs a file, or forgets the name when there is none.
TEST_F(LoadLanguageTest, NoFileOnlySetsTheName) {
    EXPECT_EQ(languages.LoadLanguage("Deutsch"), LoadResult::NoFile);
    EXPECT_EQ(languages.languageName(), "Deutsch");
    EXPECT_FALSE(languages.translationList().has_value());
    EXPECT_EQ(languages.GetTranslation("FORM1_CMDTV"), "");
}

// Catches a list split at LF, or empty pieces dropped.
TEST_F(LoadLanguageTest, ListIsTheItemsSplitAtCrLfKeepingEmptyPieces) {
    writeFile(file(group("Deutsch", {{"A1", "eins"}, {"B1", "zwei"}})));
    ASSERT_EQ(languages.LoadLanguage("deutsch"), LoadResult::Loaded);
    const auto& list = *languages.translationList();
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0], "");
    EXPECT_EQ(list[1], "\t\t<A1>eins</A1>");
    EXPECT_EQ(list[3], "\t");
    EXPECT_EQ(languages.GetTranslation("b1"), "Zwei");
}

// Catches a later group (or later line) overriding the first one of the same name.
TEST_F(LoadLanguageTest, FirstGroupAndFirstLineWin) {
    writeFile(file(group("Deutsch", {{"A1", "first"}, {"A1", "second"}}) + group("DEUTSCH", {{"A1", "other"}})));
    ASSERT_EQ(languages.LoadLanguage("Deutsch"), LoadResult::Loaded);
    EXPECT_EQ(languages.GetTranslation("A1"), "First");
}

// Catches a name comparison that trims spaces.
TEST_F(LoadLanguageTest, LeadingSpaceInGroupNameDoesNotMatch) {
    writeFile(file(group(" English", {{"A1", "x"}})));
    EXPECT_EQ(languages.LoadLanguage("English"), LoadResult::NotFound);
    EXPECT_FALSE(languages.translationList().has_value());
    EXPECT_EQ(languages.LoadLanguage(" english"), LoadResult::Loaded);
}

// Catches tag searches that respect case, or a group name compared with its accents' case.
TEST_F(LoadLanguageTest, TagsAndNamesIgnoreCase) {
    writeFile(
        "<language_group>\r\n<Language_Name>Fran\xC3\xA7"
        "ais</language_NAME>\r\n<translation_items>\r\n"
        "\t<form1_caption>Bonjour</FORM1_CAPTION>\r\n</Translation_Items>\r\n</language_group>\r\n");
    ASSERT_EQ(languages.LoadLanguage("FRAN\xC3\x87"
                                     "AIS"),
              LoadResult::Loaded);
    EXPECT_EQ(languages.GetTranslation("Form1_Caption"), "Bonjour");
}

// Catches a failed load that wipes or replaces the list of the language loaded before.
TEST_F(LoadLanguageTest, FailedLoadsKeepTheListButTakeTheName) {
    writeFile(file(group("Deutsch", {{"A1", "eins"}})));
    ASSERT_EQ(languages.LoadLanguage("Deutsch"), LoadResult::Loaded);
    const auto before = *languages.translationList();

    EXPECT_EQ(languages.LoadLanguage("Klingon"), LoadResult::NotFound);
    EXPECT_EQ(languages.languageName(), "Klingon");
    // A group without its closing tag.
    writeFile(
        file("<LANGUAGE_GROUP>\r\n<LANGUAGE_NAME>Klingon</LANGUAGE_NAME>\r\n<TRANSLATION_ITEMS>\r\n"
             "\t\t<A1>x</A1>\r\n</TRANSLATION_ITEMS>\r\n"));
    EXPECT_EQ(languages.LoadLanguage("Klingon"), LoadResult::Broken);
    // A group without its name pair, before the one asked for.
    writeFile(file("<LANGUAGE_GROUP>\r\n<TRANSLATION_ITEMS>\r\n</TRANSLATION_ITEMS>\r\n</LANGUAGE_GROUP>\r\n" +
                   group("Klingon", {{"A1", "x"}})));
    EXPECT_EQ(languages.LoadLanguage("Klingon"), LoadResult::Broken);
    // The matching group without its translation items.
    writeFile(file("<LANGUAGE_GROUP>\r\n<LANGUAGE_NAME>Klingon</LANGUAGE_NAME>\r\n</LANGUAGE_GROUP>\r\n"));
    EXPECT_EQ(languages.LoadLanguage("Klingon"), LoadResult::Broken);
    // A stray closing tag ahead of the first group counts as that group's missing end.
    writeFile(file("</LANGUAGE_GROUP>\r\n" + group("Klingon", {{"A1", "x"}})));
    EXPECT_EQ(languages.LoadLanguage("Klingon"), LoadResult::Broken);

    EXPECT_EQ(*languages.translationList(), before);
    EXPECT_EQ(languages.GetTranslation("A1"), "Eins");
}

// Catches a walk that looks past the matching group and trips over a broken one after it.
TEST_F(LoadLanguageTest, BrokenGroupAfterTheMatchDoesNotMatter) {
    writeFile(file(group("Deutsch", {{"A1", "eins"}}) + "<LANGUAGE_GROUP>\r\n<LANGUAGE_NAME>x"));
    EXPECT_EQ(languages.LoadLanguage("Deutsch"), LoadResult::Loaded);
}

// Catches a byte-order mark that hides the first group or ends up in a name.
TEST_F(LoadLanguageTest, ByteOrderMarkIsIgnored) {
    writeFile("\xEF\xBB\xBF" + file(group("Deutsch", {{"A1", "eins"}})));
    ASSERT_EQ(languages.LoadLanguage("Deutsch"), LoadResult::Loaded);
    EXPECT_EQ(languages.GetTranslation("A1"), "Eins");
}

// Catches a file found only in its exact spelling, which a case-blind
// existence test would then fail to read.
TEST_F(LoadLanguageTest, FileNameInAnyCaseIsRead) {
    dir.write("LOCALIZATION.TXT", file(group("Deutsch", {{"A1", "eins"}})));
    EXPECT_EQ(languages.LoadLanguage("Deutsch"), LoadResult::Loaded);
    EXPECT_EQ(languages.localizationFile(), dir / "LOCALIZATION.TXT");
}

// Catches an LF-only file read as many lines: only its first element can be found.
TEST_F(LoadLanguageTest, LfOnlyFileGivesOneLine) {
    writeFile(lfOnly(file(group("Deutsch", {{"A1", "eins"}, {"B1", "zwei"}}))));
    ASSERT_EQ(languages.LoadLanguage("Deutsch"), LoadResult::Loaded);
    EXPECT_EQ(languages.translationList()->size(), 1u);
    EXPECT_EQ(languages.GetTranslation("A1"), "Eins");
    EXPECT_EQ(languages.GetTranslation("B1"), "");
}

using GetTranslationTest = LocalizationTest;

// Catches the head-length rule applied wrongly to single-letter elements.
TEST_F(GetTranslationTest, SingleLetterElementNeedsIndentation) {
    writeFile(
        file("<LANGUAGE_GROUP>\r\n<LANGUAGE_NAME>L</LANGUAGE_NAME>\r\n<TRANSLATION_ITEMS>\r\n"
             "<A>plain</A>\r\n\t<B>tabbed</B>\r\n<CD>two</CD>\r\n</TRANSLATION_ITEMS>\r\n</LANGUAGE_GROUP>\r\n"));
    ASSERT_EQ(languages.LoadLanguage("L"), LoadResult::Loaded);
    EXPECT_EQ(languages.GetTranslation("A"), "");
    EXPECT_EQ(languages.GetTranslation("B"), "Tabbed");
    EXPECT_EQ(languages.GetTranslation("CD"), "Two");
}

// Catches empty texts treated as translations, or a broken line skipped in
// favour of a later one (the first line with the element decides).
TEST_F(GetTranslationTest, EmptyAndBrokenElementsGiveNothing) {
    writeFile(
        file("<LANGUAGE_GROUP>\r\n<LANGUAGE_NAME>L</LANGUAGE_NAME>\r\n<TRANSLATION_ITEMS>\r\n"
             "\t\t<EMPTY></EMPTY>\r\n\t\t<OPEN>no end\r\n\t\t<OPEN>later</OPEN>\r\n"
             "NOLT>x</NOLT>\r\n</TRANSLATION_ITEMS>\r\n</LANGUAGE_GROUP>\r\n"));
    ASSERT_EQ(languages.LoadLanguage("L"), LoadResult::Loaded);
    EXPECT_EQ(languages.GetTranslation("EMPTY"), "");
    EXPECT_EQ(languages.GetTranslation("OPEN"), "");
    EXPECT_EQ(languages.GetTranslation("NOLT"), "");
    EXPECT_EQ(languages.GetTranslation("MISSING"), "");
}

// Catches placeholders replaced only in one spelling, [Website] forgotten, or the first letter left low.
TEST_F(GetTranslationTest, PlaceholdersAreReplacedAndFirstLetterRaised) {
    writeFile(file(group("L", {{"A1", "[programname] von [COMPANYNAME] auf [website]"},
                               {"B1",
                                "\xC3\xBC"
                                "ber [ProgramName]"}})));
    ASSERT_EQ(languages.LoadLanguage("L"), LoadResult::Loaded);
    EXPECT_EQ(languages.GetTranslation("a1"), "ChannelDeck von Quenmark Software auf www.channeldeck.org");
    EXPECT_EQ(languages.GetTranslation("B1"),
              "\xC3\x9C"
              "ber ChannelDeck");
}

// Catches text cut at a "<" or ">" inside it, or escapes being decoded.
TEST_F(GetTranslationTest, MarkupCharactersInTextStay) {
    writeFile(file(group("L", {{"A1", "a < b & c > d &amp;"}})));
    ASSERT_EQ(languages.LoadLanguage("L"), LoadResult::Loaded);
    EXPECT_EQ(languages.GetTranslation("A1"), "A < b & c > d &amp;");
}

using FileNameTest = LocalizationTest;

// Catches "/" cutting paths that hold "\", or a whole path returned for a "/" path.
TEST_F(FileNameTest, LangTrimPath) {
    EXPECT_EQ(languages.LangTrimPath("C:\\Program Files\\Deck\\Localization.txt"), "Localization.txt");
    EXPECT_EQ(languages.LangTrimPath("C:\\a/b\\c/d.txt"), "c/d.txt");
    EXPECT_EQ(languages.LangTrimPath("folder\\"), "");
    EXPECT_EQ(languages.LangTrimPath("Localization.txt"), "Localization.txt");
    EXPECT_EQ(languages.LangTrimPath(""), "");
    EXPECT_EQ(languages.LangTrimPath("/opt/deck/Localization.txt"), "Localization.txt");
}

// Catches a folder taken for the file, or a name compared with its case.
TEST_F(FileNameTest, LangFileExists) {
    EXPECT_FALSE(languages.LangFileExists((dir / "Localization.txt").string()));
    dir.write("localization.TXT", "x");
    EXPECT_TRUE(languages.LangFileExists((dir / "Localization.txt").string()));
    std::filesystem::create_directory(dir / "Folder.txt");
    EXPECT_FALSE(languages.LangFileExists((dir / "Folder.txt").string()));
    EXPECT_FALSE(languages.LangFileExists(""));
    EXPECT_FALSE(languages.LangFileExists((dir / "missing" / "Localization.txt").string()));
    EXPECT_EQ(languages.ListLanguages(), "");
}

}  // namespace
}  // namespace cd::localization
