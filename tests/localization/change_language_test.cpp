// Applying a language to a window's controls, its caption and the messages.
#include <gtest/gtest.h>

#include <memory>

#include "localization_fixture.h"
#include "ui/list_view.h"
#include "ui/simple_controls.h"

namespace cd::localization {
namespace {

using testing::file;
using testing::group;
using testing::lfOnly;
using testing::LocalizationTest;

const std::string kEnglish = group("English", {{"FORM1_CMDTV", "Television"}, {"FORM1_CMDRADIO", "Radio!"}}, "en");

class ChangeLanguageTest : public LocalizationTest {
protected:
    void SetUp() override { addDefaultMessages(languages.messages()); }
    ui::MainWindow& form1 = windows.mainWindow;
};

// Catches a first call that stays without a language instead of falling back to English.
TEST_F(ChangeLanguageTest, UnknownLanguageFirstFallsBackToEnglish) {
    writeFile(file(kEnglish + group("Deutsch", {{"FORM1_CMDTV", "Fernsehen"}})));
    languages.ChangeLanguage(form1, "Klingon");
    EXPECT_EQ(languages.languageName(), "English");
    EXPECT_EQ(form1.tvButton->caption(), "Television");
}

// Catches an unknown language after a good one dropping the good one's texts.
TEST_F(ChangeLanguageTest, UnknownLanguageLaterKeepsThePreviousLanguage) {
    writeFile(file(kEnglish + group("Deutsch", {{"FORM1_CMDTV", "Fernsehen"}})));
    languages.ChangeLanguage(form1, "Deutsch");
    form1.tvButton->setCaption("TV");
    languages.ChangeLanguage(form1, "Klingon");
    EXPECT_EQ(languages.languageName(), "Klingon");
    EXPECT_EQ(form1.tvButton->caption(), "Fernsehen");
}

// Catches an LF-only file being used as it is instead of falling back to English.
TEST_F(ChangeLanguageTest, LfOnlyFileFallsBackToEnglish) {
    writeFile(lfOnly(file(group("Deutsch", {{"FORM1_CMDTV", "Fernsehen"}}) +
                          group("English", {{"FORM1_CMDTV", "Television"}, {"FORM1_CMDRADIO", "Wireless"}}))));
    languages.ChangeLanguage(form1, "Deutsch");
    EXPECT_EQ(languages.languageName(), "English");
    EXPECT_EQ(form1.tvButton->caption(), "Television") << "the one-line list still gives its first element";
    EXPECT_EQ(form1.radioButton->caption(), "Radio");
}

// Catches a missing file changing captions or messages, or leaving the name as asked.
TEST_F(ChangeLanguageTest, NoFileChangesNothing) {
    const std::string before = languages.getMessages("MSG_NOTFOUND");
    languages.ChangeLanguage(form1, "Deutsch");
    EXPECT_EQ(languages.languageName(), "English");
    EXPECT_EQ(form1.tvButton->caption(), "TV");
    EXPECT_EQ(form1.caption(), "ChannelDeck");
    EXPECT_EQ(languages.getMessages("MSG_NOTFOUND"), before);
}

// Catches empty translations blanking captions.
TEST_F(ChangeLanguageTest, EmptyElementKeepsTheCaption) {
    writeFile(file(group("Deutsch", {{"FORM1_CMDTV", ""}, {"FORM1_CMDRADIO", "Radio DE"}})));
    languages.ChangeLanguage(form1, "Deutsch");
    EXPECT_EQ(form1.tvButton->caption(), "TV");
    EXPECT_EQ(form1.radioButton->caption(), "Radio DE");
}

// Catches menus looked up without their index, or top-level menus without the 0.
TEST_F(ChangeLanguageTest, MenusUseTheirIndexAndZeroOutsideAnArray) {
    writeFile(file(group("Deutsch", {{"FORM1_MNUFILE0", "Datei"},
                                     {"FORM1_MNUFILEITEM0", "Neueste Senderliste herunterladen"},
                                     {"FORM1_MNUFILEITEM2", "Beenden"},
                                     {"FORM1_MNUFILE", "wrong"},
                                     {"FORM1_MNUFILEITEM", "wrong"}})));
    languages.ChangeLanguage(form1, "Deutsch");
    EXPECT_EQ(form1.fileMenu->caption(), "Datei");
    EXPECT_EQ(form1.fileMenuItems[0]->caption(), "Neueste Senderliste herunterladen");
    EXPECT_EQ(form1.fileMenuItems[1]->caption(), "-");
    EXPECT_EQ(form1.fileMenuItems[2]->caption(), "Beenden");
}

// Catches label arrays translated per index instead of sharing one element.
TEST_F(ChangeLanguageTest, LabelArrayMembersShareOneElement) {
    ui::Form form("frmTest", "Test");
    form.add(std::make_unique<ui::Control>("Label", "lblPart", 0)).setCaption("a");
    form.add(std::make_unique<ui::Control>("Label", "lblPart", 1)).setCaption("b");
    writeFile(file(group("Deutsch", {{"FRMTEST_LBLPART", "Teil"}, {"FRMTEST_LBLPART1", "wrong"}})));
    languages.ChangeLanguage(form, "Deutsch");
    EXPECT_EQ(form.find("lblPart", 0)->caption(), "Teil");
    EXPECT_EQ(form.find("lblPart", 1)->caption(), "Teil");
}

// Catches tabs counted from 0, or untranslated tabs blanked.
TEST_F(ChangeLanguageTest, OnlyTheTranslatedTabChanges) {
    ui::Form form("frmTest", "Test");
    auto& tabs = form.add(std::make_unique<ui::TabStrip>("TabStrip1"));
    for (const char* t : {"One", "Two", "Three"}) tabs.addTab(t);
    writeFile(file(group("Deutsch", {{"FRMTEST_TABSTRIP1_TABS2", "Zwei"}})));
    languages.ChangeLanguage(form, "Deutsch");
    EXPECT_EQ(tabs.tabCaption(1), "One");
    EXPECT_EQ(tabs.tabCaption(2), "Zwei");
    EXPECT_EQ(tabs.tabCaption(3), "Three");
}

// Catches column headers left untranslated or counted from 0.
TEST_F(ChangeLanguageTest, ListViewColumnHeaders) {
    writeFile(file(group("Deutsch", {{"FORM1_LISTVIEW1_COL1", "Sender"}, {"FORM1_LISTVIEW1_COL7", "Zuletzt online"}})));
    languages.ChangeLanguage(form1, "Deutsch");
    EXPECT_EQ(form1.channelList->columnText(1), "Sender");
    EXPECT_EQ(form1.channelList->columnText(2), "Category");
    EXPECT_EQ(form1.channelList->columnText(7), "Zuletzt online");
}

// Catches every control kind of the naming table being applied, and others touched.
TEST_F(ChangeLanguageTest, EveryTranslatableKindAndNothingElse) {
    ui::Form form("frmTest", "Test");
    for (const char* type : {"Label", "CommandButton", "SkinLabel", "Frame", "CheckBox", "TextBox", "label"})
        form.add(std::make_unique<ui::Control>(type, std::string("c") + type)).setCaption("built-in");
    form.add(std::make_unique<ui::Control>("OptionButton", "optA")).setCaption("built-in");
    // A control that claims to be a tab strip but has no tabs is passed over.
    form.add(std::make_unique<ui::Control>("TabStrip", "tabFake")).setCaption("built-in");
    writeFile(file(group("Deutsch", {{"FRMTEST_CLABEL", "L"},
                                     {"FRMTEST_CCOMMANDBUTTON", "B"},
                                     {"FRMTEST_CSKINLABEL", "S"},
                                     {"FRMTEST_CFRAME", "F"},
                                     {"FRMTEST_CCHECKBOX", "C"},
                                     {"FRMTEST_CTEXTBOX", "T"},
                                     {"FRMTEST_CLABEL", "L"},
                                     {"FRMTEST_OPTA0", "O"},
                                     {"FRMTEST_TABFAKE", "X"},
                                     {"FRMTEST_TABFAKE_TABS1", "X"}})));
    languages.ChangeLanguage(form, "Deutsch");
    EXPECT_EQ(form.find("cLabel")->caption(), "L");
    EXPECT_EQ(form.find("cCommandButton")->caption(), "B");
    EXPECT_EQ(form.find("cSkinLabel")->caption(), "S");
    EXPECT_EQ(form.find("cFrame")->caption(), "F");
    EXPECT_EQ(form.find("cCheckBox")->caption(), "C");
    EXPECT_EQ(form.find("optA")->caption(), "O");
    EXPECT_EQ(form.find("cTextBox")->caption(), "built-in");
    EXPECT_EQ(form.find("clabel")->caption(), "built-in") << "type names are compared exactly";
    EXPECT_EQ(form.find("tabFake")->caption(), "built-in");
}

// Catches the MDI variant comparing type names exactly.
TEST_F(ChangeLanguageTest, MdiComparesTrimmedLowerCaseTypeNames) {
    ui::Form form("frmMain", "Main");
    form.add(std::make_unique<ui::Control>(" LABEL ", "lblA")).setCaption("built-in");
    form.add(std::make_unique<ui::Control>("menu", "mnuTop")).setCaption("built-in");
    writeFile(file(group("Deutsch", {{"FRMMAIN_LBLA", "A"}, {"FRMMAIN_MNUTOP0", "M"}, {"FRMMAIN_CAPTION", "Haupt"}})));
    languages.ChangeLanguage(form, "Deutsch");
    EXPECT_EQ(form.find("lblA")->caption(), "built-in");
    languages.ChangeLanguageMDI(form, "Deutsch");
    EXPECT_EQ(form.find("lblA")->caption(), "A");
    EXPECT_EQ(form.find("mnuTop")->caption(), "M");
    EXPECT_EQ(form.caption(), "Haupt");
}

// Catches a window caption element compared with its case.
TEST_F(ChangeLanguageTest, MixedCaseCaptionElementApplies) {
    writeFile(file(group("Deutsch", {{"Form1_Caption", "Kanaldeck"}})));
    languages.ChangeLanguage(form1, "Deutsch");
    EXPECT_EQ(form1.caption(), "Kanaldeck");
}

// Catches messages left untranslated, stored with raw placeholders, or
// reset when a later language lacks them.
TEST_F(ChangeLanguageTest, MessagesFollowAndKeepWhatTheNextLanguageLacks) {
    writeFile(file(group("Deutsch", {{"MSG_DELETED", "gel\xC3\xB6scht "}, {"MSG_NOTFOUND", "[programname] fehlt"}}) +
                   group("Dansk", {{"MSG_NOTFOUND", "mangler"}, {"FORM1_CMDTV", "Fjernsyn"}})));
    languages.ChangeLanguage(form1, "Deutsch");
    EXPECT_EQ(languages.getMessages("MSG_DELETED"), "Gel\xC3\xB6scht ");
    EXPECT_EQ(languages.messages().entries()[2].text, "ChannelDeck fehlt");
    languages.ChangeLanguage(form1, "Dansk");
    EXPECT_EQ(languages.getMessages("MSG_DELETED"), "Gel\xC3\xB6scht ");
    EXPECT_EQ(languages.getMessages("MSG_NOTFOUND"), "Mangler");
    EXPECT_EQ(form1.tvButton->caption(), "Fjernsyn");
}

// Catches a second language resetting captions it does not translate.
TEST_F(ChangeLanguageTest, SecondLanguageKeepsCaptionsItLacks) {
    writeFile(file(group("Deutsch", {{"FORM1_CMDTV", "Fernsehen"}, {"FORM1_CMDRADIO", "Rundfunk"}}) +
                   group("Dansk", {{"FORM1_CMDTV", "Fjernsyn"}})));
    languages.ChangeLanguage(form1, "Deutsch");
    languages.ChangeLanguage(form1, "Dansk");
    EXPECT_EQ(form1.tvButton->caption(), "Fjernsyn");
    EXPECT_EQ(form1.radioButton->caption(), "Rundfunk");
}

}  // namespace
}  // namespace cd::localization
