// Writing Localization.txt from the windows' captions and the message table.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "formats/localization_file.h"
#include "localization_fixture.h"
#include "ui/list_view.h"
#include "ui/simple_controls.h"
#include "util/text.h"

namespace cd::localization {
namespace {

using testing::file;
using testing::group;
using testing::LocalizationTest;

const char* const kExpectedHeader =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
    "<XML_DIZ_INFO>\r\n"
    "\t<LOCALIZATION_FILE_INFO>\r\n"
    "\t\t<LOCALIZATION_FILE_VERSION>1.0</LOCALIZATION_FILE_VERSION>\r\n"
    "\t</LOCALIZATION_FILE_INFO>\r\n"
    "<LANGUAGE_GROUP xml:lang=\"en\">\r\n"
    "\t<LANGUAGE_NAME>English</LANGUAGE_NAME>\r\n"
    "\t<DESCRIPTION>This file contains various translations of program buttons, messages and menus in XML "
    "format.  The original document was created using translation software, and may sound strange when read "
    "by people.  We invite you to make modifications to existing languages and translate new languages.  "
    "Please send them to us so that we can update this file and make your translation available to all "
    "users.  Our current email address is located on our homepage which can be visited through the software "
    "or our program folder on your Start Menu.  Before making changes to a localization file please use the "
    "program to download the most recent localization file using the 'Check for Language Updates' button in "
    "the Languages window.</DESCRIPTION>\r\n"
    "\t<TRANSLATION_ITEMS>\r\n";

const char* const kExpectedFooter = "\t</TRANSLATION_ITEMS>\r\n</LANGUAGE_GROUP>\r\n</XML_DIZ_INFO>\r\n";

using MakeLocalizationFileTest = LocalizationTest;

// Catches any drift in the file's bytes: header, order, indentation, the
// skipped combo box, the window caption after its controls, the message's
// trailing space.
TEST_F(MakeLocalizationFileTest, LanguageWindowAloneGivesTheExactFile) {
    windows.load(windows.languageWindow);
    languages.setMessage("MSG_DELETED", "Deleted ");
    ASSERT_TRUE(languages.makeLocalizationFile());
    const std::string expected = std::string(kExpectedHeader) +
                                 "\t\t<FRMLANGUAGE_COMMAND3>Translate this program</FRMLANGUAGE_COMMAND3>\r\n"
                                 "\t\t<FRMLANGUAGE_COMMAND2>OK</FRMLANGUAGE_COMMAND2>\r\n"
                                 "\t\t<FRMLANGUAGE_COMMAND1>Check for language updates</FRMLANGUAGE_COMMAND1>\r\n"
                                 "\t\t<FRMLANGUAGE_LABEL1>Please select the language you would like to "
                                 "use:</FRMLANGUAGE_LABEL1>\r\n"
                                 "\t\t<FRMLANGUAGE_CAPTION>Language Selection</FRMLANGUAGE_CAPTION>\r\n"
                                 "\t\t<MSG_DELETED>Deleted </MSG_DELETED>\r\n" +
                                 kExpectedFooter;
    EXPECT_EQ(dir.read("Localization.txt"), expected);
}

// Catches a file that does not read back: a first or last line holding an
// element, a missing final CR LF, or an element the reader cannot find.
TEST_F(MakeLocalizationFileTest, WrittenFileReadsBackAsEnglish) {
    windows.loadAll();
    addDefaultMessages(languages.messages());
    ASSERT_TRUE(languages.makeLocalizationFile());
    const std::string text = dir.read("Localization.txt");
    EXPECT_TRUE(text.ends_with("</XML_DIZ_INFO>\r\n"));
    EXPECT_FALSE(text.starts_with("\xEF\xBB\xBF"));
    ASSERT_EQ(languages.LoadLanguage("English"), LoadResult::Loaded);
    const auto& list = *languages.translationList();
    ASSERT_GE(list.size(), 3u);
    EXPECT_EQ(list.front(), "");
    EXPECT_EQ(list.back(), "\t");
    EXPECT_EQ(languages.GetTranslation("FRMLANGUAGE_COMMAND1"), "Check for language updates");
    EXPECT_EQ(languages.GetTranslation("FORM1_LISTVIEW1_COL1"), "Channel");
    EXPECT_EQ(languages.GetTranslation("form1_listview1_col7"), "Last Online");
    EXPECT_EQ(languages.GetTranslation("MSG_NOTFOUND"), languages.getMessages("MSG_NOTFOUND"));
}

// Catches menus written without their index, or a top-level menu without its 0.
TEST_F(MakeLocalizationFileTest, MenusCarryTheirIndex) {
    windows.load(windows.mainWindow);
    const std::string text = languages.localizationFileText();
    EXPECT_NE(text.find("\t\t<FORM1_MNUFILE0>File</FORM1_MNUFILE0>\r\n"), std::string::npos);
    EXPECT_NE(text.find("\t\t<FORM1_MNUFILEITEM0>Download Most Recent Channel List</FORM1_MNUFILEITEM0>\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("\t\t<FORM1_MNUFILEITEM2>Exit</FORM1_MNUFILEITEM2>\r\n"), std::string::npos);
    EXPECT_NE(text.find("\t\t<FORM1_MNULANGUAGEITEM0>Change Language</FORM1_MNULANGUAGEITEM0>\r\n"), std::string::npos);
    EXPECT_NE(text.find("\t\t<FORM1_CAPTION>ChannelDeck</FORM1_CAPTION>\r\n"), std::string::npos);
    EXPECT_EQ(text.find("COMBO1"), std::string::npos) << "combo boxes are not translated";
    EXPECT_EQ(text.find("FRMLANGUAGE"), std::string::npos) << "only loaded windows are written";
}

// Catches escaping on write or unescaping on read.
TEST_F(MakeLocalizationFileTest, MarkupCharactersRoundTrip) {
    windows.load(windows.languageWindow);
    windows.languageWindow.okButton->setCaption("a < b & c > d");
    ASSERT_TRUE(languages.makeLocalizationFile());
    EXPECT_NE(dir.read("Localization.txt").find("<FRMLANGUAGE_COMMAND2>a < b & c > d</FRMLANGUAGE_COMMAND2>"),
              std::string::npos);
    ASSERT_EQ(languages.LoadLanguage("English"), LoadResult::Loaded);
    EXPECT_EQ(languages.GetTranslation("FRMLANGUAGE_COMMAND2"), "A < b & c > d");
}

// Catches a writer that stores built-in texts, or names the group after the applied language.
TEST_F(MakeLocalizationFileTest, WritingWhileTranslatedStoresTheTranslationAsEnglish) {
    windows.load(windows.mainWindow);
    addDefaultMessages(languages.messages());
    writeFile(file(group("English", {{"FORM1_CMDTV", "TV"}}) +
                   group("Deutsch", {{"FORM1_CMDTV", "Fernsehen"}, {"MSG_DELETED", "Gel\xC3\xB6scht "}}, "de")));
    languages.ChangeLanguage(windows.mainWindow, "Deutsch");
    ASSERT_EQ(windows.mainWindow.tvButton->caption(), "Fernsehen");
    ASSERT_TRUE(languages.makeLocalizationFile());
    const std::string text = dir.read("Localization.txt");
    EXPECT_EQ(text.find("Deutsch"), std::string::npos);
    EXPECT_NE(text.find("<LANGUAGE_NAME>English</LANGUAGE_NAME>"), std::string::npos);
    EXPECT_NE(text.find("<FORM1_CMDTV>Fernsehen</FORM1_CMDTV>"), std::string::npos);
    EXPECT_NE(text.find("<MSG_DELETED>Gel\xC3\xB6scht </MSG_DELETED>"), std::string::npos);
}

// Catches tab strips, list views or option buttons named differently from what the reader looks up.
TEST_F(MakeLocalizationFileTest, TabsColumnsAndOptionButtonsUseTheReadersNames) {
    ui::Form& form = windows.helpWindow;
    windows.load(form);
    auto& tabs = form.add(std::make_unique<ui::TabStrip>("tabMain"));
    tabs.addTab("One");
    tabs.addTab("Two");
    auto& list = form.add(std::make_unique<ui::ListView>("lvItems"));
    list.addColumn("Name");
    form.add(std::make_unique<ui::Control>("OptionButton", "optSolo")).setCaption("Solo");
    form.add(std::make_unique<ui::Control>("OptionButton", "optPick", 3)).setCaption("Third");
    const std::string text = languages.localizationFileText();
    for (const char* line :
         {"<FORM8_TABMAIN_TABS1>One</FORM8_TABMAIN_TABS1>", "<FORM8_TABMAIN_TABS2>Two</FORM8_TABMAIN_TABS2>",
          "<FORM8_LVITEMS_COL1>Name</FORM8_LVITEMS_COL1>", "<FORM8_OPTSOLO0>Solo</FORM8_OPTSOLO0>",
          "<FORM8_OPTPICK3>Third</FORM8_OPTPICK3>", "<FORM8_CAPTION>Help</FORM8_CAPTION>"})
        EXPECT_NE(text.find(line), std::string::npos) << line;

    // What was written is what ChangeLanguage reads back.
    ASSERT_TRUE(languages.makeLocalizationFile());
    tabs.setTabCaption(2, "changed");
    list.setColumnText(1, "changed");
    form.find("optSolo")->setCaption("changed");
    form.find("optPick", 3)->setCaption("changed");
    languages.ChangeLanguage(form, "English");
    EXPECT_EQ(tabs.tabCaption(2), "Two");
    EXPECT_EQ(list.columnText(1), "Name");
    EXPECT_EQ(form.find("optSolo")->caption(), "Solo");
    EXPECT_EQ(form.find("optPick", 3)->caption(), "Third");
}

// Catches a writer that deletes the old file first and loses it when the new one cannot be written.
TEST_F(MakeLocalizationFileTest, FailedWriteKeepsTheOldFile) {
    windows.loadAll();
    addDefaultMessages(languages.messages());
    writeFile("old content");
    {
        testing::FileSizeLimit limit(1024);
        EXPECT_FALSE(languages.makeLocalizationFile());
    }
    EXPECT_EQ(dir.read("Localization.txt"), "old content");
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        EXPECT_EQ(entry.path().filename(), "Localization.txt") << "no temporary file is left behind";
    EXPECT_TRUE(languages.makeLocalizationFile());
    EXPECT_TRUE(dir.read("Localization.txt").starts_with("<?xml"));
}

// Catches a folder in the file's place being removed or written into.
TEST_F(MakeLocalizationFileTest, FolderInPlaceOfTheFileIsLeftAlone) {
    windows.load(windows.languageWindow);
    std::filesystem::create_directory(dir / "Localization.txt");
    dir.write("Localization.txt/keep", "x");
    EXPECT_FALSE(languages.makeLocalizationFile());
    EXPECT_EQ(dir.read("Localization.txt/keep"), "x");
}

// Catches the writer producing a second file beside one spelled in other letter case.
TEST_F(MakeLocalizationFileTest, ReplacesTheFileInWhateverCaseItIsSpelled) {
    windows.load(windows.languageWindow);
    dir.write("localization.txt", "old");
    ASSERT_TRUE(languages.makeLocalizationFile());
    EXPECT_TRUE(dir.read("localization.txt").starts_with("<?xml"));
    EXPECT_FALSE(std::filesystem::exists(dir / "Localization.txt"));
}

}  // namespace
}  // namespace cd::localization
