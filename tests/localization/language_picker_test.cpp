// The language window: its opening, the language list, picking a language,
// the download of the newest file, and opening the file for editing.
#include "localization/language_picker.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "localization_fixture.h"
#include "platform/memory_settings_store.h"
#include "support/fakes.h"
#include "support/file_size_limit.h"
#include "support/scripted_fetcher.h"
#include "util/text.h"

namespace cd::localization {
namespace {

using testing::file;
using testing::group;
using testing::LocalizationTest;

const std::string kTwoLanguages =
    file(group("English", {{"FORM1_CMDTV", "TV"}}, "en") + group("Deutsch",
                                                                 {{"FORM1_CMDTV", "Fernsehen"},
                                                                  {"FORM1_MNUFILE0", "Datei"},
                                                                  {"FRMLANGUAGE_COMMAND2",
                                                                   "Schlie\xC3\x9F"
                                                                   "en"},
                                                                  {"FRMLANGUAGE_CAPTION", "Sprachwahl"}},
                                                                 "de"));

class LanguageWindowTest : public LocalizationTest {
protected:
    void SetUp() override {
        addDefaultMessages(languages.messages());
        windows.load(windows.mainWindow);
        windows.load(windows.languageWindow);
    }

    LanguagePicker makeWindow(const std::string& host = "127.0.0.1:9") {
        return LanguagePicker(LanguagePickerContext{languages, windows, settings, shell, dialogs, fetcher, host, 26,
                                                    "ChannelDeck", skinning,
                                                    [this](ui::Form& f) { skinned.push_back(f.name()); }});
    }
    std::vector<std::string> entries() const { return windows.languageWindow.languageBox->entries(); }
    std::string comboText() const { return windows.languageWindow.languageBox->text(); }

    platform::MemorySettingsStore settings;
    test::FakeShell shell;
    test::FakeDialogs dialogs;
    test::ScriptedFetcher fetcher;
    bool skinning = false;
    std::vector<std::string> skinned;
};

// Catches the title message overriding a caption the file translates, or the skin applied when switched off.
TEST_F(LanguageWindowTest, LoadTranslatesTitlesAndSkinsOnlyWhenAsked) {
    auto window = makeWindow();
    window.load();
    EXPECT_EQ(windows.languageWindow.caption(), "Language Selection") << "from MSG_TITLELANGUAGE";
    EXPECT_TRUE(skinned.empty());

    writeFile(kTwoLanguages);
    languages.setLanguageName("Deutsch");
    windows.languageWindow.setCaption("");
    skinning = true;
    auto skinnedWindow = makeWindow();
    skinnedWindow.load();
    EXPECT_EQ(windows.languageWindow.caption(), "Sprachwahl");
    EXPECT_EQ(windows.languageWindow.okButton->caption(),
              "Schlie\xC3\x9F"
              "en");
    EXPECT_EQ(skinned, std::vector<std::string>{"frmLanguage"});
}

// Catches duplicates dropped, or the list sorted.
TEST_F(LanguageWindowTest, ListHoldsEveryGroupInFileOrder) {
    writeFile(file(group("English", {}) + group("Deutsch", {}) + group("Deutsch", {})));
    settings.set("Language", "Deutsch");
    auto window = makeWindow();
    window.FillLanguageList();
    EXPECT_EQ(entries(), (std::vector<std::string>{"English", "Deutsch", "Deutsch"}));
    EXPECT_EQ(comboText(), "Deutsch");
}

// Catches the combo box showing a listed name instead of the saved one, or "English" not being the default.
TEST_F(LanguageWindowTest, SavedNameIsShownEvenWhenNotInTheFile) {
    writeFile(file(group("English", {}) + group("Deutsch", {})));
    settings.set("Language", "Klingon");
    auto window = makeWindow();
    window.FillLanguageList();
    EXPECT_EQ(comboText(), "Klingon");
    EXPECT_EQ(entries().size(), 2u);

    platform::MemorySettingsStore fresh;
    LanguagePicker other(
        LanguagePickerContext{languages, windows, fresh, shell, dialogs, fetcher, "h", 26, "t", false, {}});
    other.FillLanguageList();
    EXPECT_EQ(comboText(), "English");
}

// Catches a refill that adds to the old list, or a list kept when the file is gone.
TEST_F(LanguageWindowTest, ListIsEmptiedFirstAndStaysEmptyWithoutFile) {
    windows.languageWindow.languageBox->addItem("stale");
    auto window = makeWindow();
    window.FillLanguageList();
    EXPECT_TRUE(entries().empty());
    EXPECT_EQ(comboText(), "");
}

// Catches a broken group leaving later groups or junk names in the list.
TEST_F(LanguageWindowTest, BrokenGroupEndsTheList) {
    writeFile(file(group("English", {}) + "<LANGUAGE_GROUP>\r\n<TRANSLATION_ITEMS>\r\n</LANGUAGE_GROUP>\r\n" +
                   group("Deutsch", {})));
    auto window = makeWindow();
    window.FillLanguageList();
    EXPECT_EQ(entries(), std::vector<std::string>{"English"});

    writeFile(file(group("English", {})) + "<LANGUAGE_GROUP><LANGUAGE_NAME>Half</LANGUAGE_NAME>");
    window.FillLanguageList();
    EXPECT_EQ(entries(), std::vector<std::string>{"English"});
    EXPECT_EQ(comboText(), "English");
}

// Catches a byte-order mark or LF-only lines breaking the list.
TEST_F(LanguageWindowTest, ListReadsBomAndLfOnlyFiles) {
    writeFile("\xEF\xBB\xBF" + testing::lfOnly(file(group("English", {}) + group("Fran\xC3\xA7"
                                                                                 "ais",
                                                                                 {}))));
    auto window = makeWindow();
    window.FillLanguageList();
    EXPECT_EQ(entries(), (std::vector<std::string>{"English",
                                                   "Fran\xC3\xA7"
                                                   "ais"}));
}

// Catches the prompt text being stored as a language.
TEST_F(LanguageWindowTest, PromptTextIsIgnored) {
    writeFile(kTwoLanguages);
    auto window = makeWindow();
    windows.languageWindow.languageBox->setText("Choose Language Here");
    window.chooseLanguage();
    EXPECT_FALSE(settings.contains("Language"));
    EXPECT_EQ(windows.mainWindow.tvButton->caption(), "TV");
    windows.languageWindow.languageBox->setText("choose language here");
    window.chooseLanguage();
    EXPECT_EQ(settings.get("Language", ""), "choose language here") << "only the exact prompt is ignored";
}

// Catches a pick that is not saved, or not applied at once to both windows.
TEST_F(LanguageWindowTest, PickingALanguageSavesAndAppliesIt) {
    writeFile(kTwoLanguages);
    auto window = makeWindow();
    window.load();
    windows.languageWindow.languageBox->setText("Deutsch");
    window.chooseLanguage();
    EXPECT_EQ(settings.get("Language", ""), "Deutsch");
    EXPECT_EQ(windows.mainWindow.tvButton->caption(), "Fernsehen");
    EXPECT_EQ(windows.mainWindow.fileMenu->caption(), "Datei");
    EXPECT_EQ(windows.languageWindow.okButton->caption(),
              "Schlie\xC3\x9F"
              "en");
    EXPECT_EQ(windows.languageWindow.caption(), "Sprachwahl");
    EXPECT_EQ(languages.languageName(), "Deutsch");
}

// Catches OK leaving the window loaded.
TEST_F(LanguageWindowTest, OkUnloadsTheWindow) {
    auto window = makeWindow();
    windows.languageWindow.setVisible(true);
    window.close();
    EXPECT_FALSE(windows.isLoaded(windows.languageWindow));
    EXPECT_FALSE(windows.languageWindow.visible());
    EXPECT_TRUE(windows.isLoaded(windows.mainWindow));
}

// Catches the shell asked to open a file that is not there, or the wrong path.
TEST_F(LanguageWindowTest, TranslateOpensTheFileOnlyWhenItExists) {
    auto window = makeWindow();
    window.openFileForTranslation();
    EXPECT_TRUE(shell.opened.empty());
    writeFile(kTwoLanguages);
    window.openFileForTranslation();
    EXPECT_EQ(shell.opened, std::vector<std::string>{(dir / "Localization.txt").string()});
}

class LanguageDownloadTest : public LanguageWindowTest {
protected:
    static constexpr const char* kHost = "lang.test";
    const std::string kAddress = "http://lang.test/Languages/26/Localization.txt";
    /// Presses "Check for language updates" and answers the download.
    void download(LanguagePicker& window, const test::ScriptedReply& reply) {
        window.checkForUpdates();
        EXPECT_TRUE(window.downloading());
        ASSERT_TRUE(fetcher.reply(kAddress, reply));
        EXPECT_FALSE(window.downloading());
    }
    void download(LanguagePicker& window, const std::string& body) {
        download(window, test::ScriptedReply{200, "text/plain", {}, body});
    }
    /// The message a download that brought nothing usable shows.
    std::string notDownloaded(const std::string& reasonKey) {
        return util::fillPlaceholders(languages.getMessages("MSG_LANGUAGENOTDOWNLOADED"),
                                      {languages.messages().fragment(reasonKey)});
    }
    const std::string kOld = file(group("English", {{"FORM1_CMDTV", "TV"}}));
};

// Catches leading text (a byte-order mark, a stray line) kept in the saved
// file, progress not shown while the download runs, and a download that
// applies a language by itself.
TEST_F(LanguageDownloadTest, LeadingTextBeforeTheFirstTagIsDropped) {
    writeFile(kOld);
    auto window = makeWindow(kHost);
    EXPECT_EQ(window.downloadAddress(), kAddress);
    window.checkForUpdates();
    EXPECT_EQ(windows.languageWindow.downloadStatus->caption(), "Connecting to lang.test\xE2\x80\xA6");
    const fetch::FetchRequest* request = fetcher.request(kAddress);
    ASSERT_NE(request, nullptr);
    EXPECT_EQ(request->bounds.deadline.count(), 0) << "a watched download has no deadline";
    EXPECT_EQ(request->bounds.maxBytes, fetch::kLanguageFileCap);
    request->onProgress(1234);
    EXPECT_EQ(windows.languageWindow.downloadStatus->caption(), "Downloaded 1234 bytes.");
    ASSERT_TRUE(fetcher.reply(
        kAddress, test::ScriptedReply{200, "text/plain", {}, "\xEF\xBB\xBFnote: generated\r\n" + kTwoLanguages}));
    EXPECT_EQ(dir.read("Localization.txt"), kTwoLanguages + "\r\n");
    EXPECT_EQ(entries(), (std::vector<std::string>{"English", "Deutsch"}));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, languages.getMessages("MSG_DOWNLOADED"));
    EXPECT_EQ(dialogs.shown[0].title, "ChannelDeck");
    EXPECT_EQ(dialogs.shown[0].buttons, platform::Buttons::OK);
    EXPECT_EQ(windows.mainWindow.tvButton->caption(), "TV") << "a download applies nothing by itself";
}

// Catches an error page, a marker without a language, or an empty answer
// replacing the file, and the user left without a word about it.
TEST_F(LanguageDownloadTest, BodiesWithoutALanguageChangeNothingAndSaySo) {
    writeFile(kOld);
    auto window = makeWindow(kHost);
    window.FillLanguageList();
    for (const std::string& body : {std::string("<html><body>404 Not Found</body></html>"),
                                    std::string("<x><translation_items>"), std::string()}) {
        dialogs.shown.clear();
        download(window, body);
        EXPECT_EQ(dir.read("Localization.txt"), kOld) << body;
        ASSERT_EQ(dialogs.shown.size(), 1u) << body;
        EXPECT_EQ(dialogs.shown[0].text, notDownloaded("MSG_REASON_NOLANGUAGE"));
    }
    // An error status is no language file even when its page holds one.
    dialogs.shown.clear();
    download(window, test::ScriptedReply{404, "text/plain", {}, kTwoLanguages});
    EXPECT_EQ(dir.read("Localization.txt"), kOld);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text,
              util::fillPlaceholders(
                  languages.getMessages("MSG_LANGUAGENOTDOWNLOADED"),
                  {util::fillPlaceholders(languages.messages().fragment("MSG_REASON_HTTPERROR"), {"404"})}));
    EXPECT_EQ(entries(), std::vector<std::string>{"English"});
}

// Catches a download cut short (by the server, a bound, the cap, or by
// closing the window) saved over a working file: the first half of a
// language file has the marker and a whole first group too.
TEST_F(LanguageDownloadTest, DownloadsCutShortChangeNothing) {
    writeFile(kOld);
    const std::string half = kTwoLanguages.substr(0, kTwoLanguages.size() / 2 + 40);
    ASSERT_NE(half.find("<TRANSLATION_ITEMS>"), std::string::npos);
    auto window = makeWindow(kHost);
    const std::pair<fetch::FetchError, const char*> cuts[] = {{fetch::FetchError::Broken, "MSG_REASON_BROKEN"},
                                                              {fetch::FetchError::TooSlow, "MSG_REASON_TOOSLOW"},
                                                              {fetch::FetchError::TooLarge, "MSG_REASON_TOOLARGE"}};
    for (const auto& [error, reason] : cuts) {
        dialogs.shown.clear();
        download(window, test::ScriptedReply{200, "text/plain", {}, half, error});
        EXPECT_EQ(dir.read("Localization.txt"), kOld);
        ASSERT_EQ(dialogs.shown.size(), 1u);
        EXPECT_EQ(dialogs.shown[0].text, notDownloaded(reason));
    }

    dialogs.shown.clear();
    std::string huge = kTwoLanguages;
    huge.insert(huge.find("</XML_DIZ_INFO>"), std::string(fetch::kLanguageFileCap, ' '));
    download(window, huge);
    EXPECT_EQ(dir.read("Localization.txt"), kOld) << "past its cap";
    EXPECT_EQ(dialogs.shown.size(), 1u);

    dialogs.shown.clear();
    window.checkForUpdates();
    window.close();  // OK closes the window
    EXPECT_FALSE(window.downloading());
    EXPECT_FALSE(fetcher.reply(kAddress, test::ScriptedReply{200, "text/plain", {}, kTwoLanguages}))
        << "closing gave the download up";
    EXPECT_EQ(dir.read("Localization.txt"), kOld);
    EXPECT_TRUE(dialogs.shown.empty());
}

// Catches an unreachable server treated as a download, or passed over in silence.
TEST_F(LanguageDownloadTest, UnreachableServerChangesNothingAndSaysWhy) {
    writeFile(kOld);
    auto window = makeWindow(kHost);
    download(window, test::ScriptedReply{0, "", {}, "", fetch::FetchError::Refused, false});
    EXPECT_EQ(dir.read("Localization.txt"), kOld);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, notDownloaded("MSG_REASON_REFUSED"));
}

// Catches a write failing half-way costing the old file, or being announced as a success.
TEST_F(LanguageDownloadTest, FailedWriteKeepsTheOldFileAndSaysSo) {
    writeFile(kOld);
    std::string big = kTwoLanguages;
    big.insert(big.find("</XML_DIZ_INFO>"), std::string(64 * 1024, ' '));
    auto window = makeWindow(kHost);
    window.FillLanguageList();
    {
        testing::FileSizeLimit limit(4096);
        download(window, big);
    }
    EXPECT_EQ(dir.read("Localization.txt"), kOld);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_NE(dialogs.shown[0].text, languages.getMessages("MSG_DOWNLOADED"));
    EXPECT_TRUE(dialogs.shown[0].text.starts_with(languages.getMessages("MSG_LANGUAGENOTSAVED")));
    EXPECT_EQ(entries(), std::vector<std::string>{"English"}) << "the list still shows the old file";
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        EXPECT_EQ(entry.path().filename(), "Localization.txt") << "no temporary file is left behind";
}

// Catches a program folder that cannot hold files being reported as a success.
TEST_F(LanguageDownloadTest, UnwritableProgramFolderIsReported) {
    dir.write("plain-file", "keep me");
    ClsLanguages elsewhere(testing::testBrand(), dir / "plain-file" / "sub", windows);
    addDefaultMessages(elsewhere.messages());
    LanguagePicker window(LanguagePickerContext{
        elsewhere, windows, settings, shell, dialogs, fetcher, kHost, 26, "ChannelDeck", false, {}});
    download(window, kTwoLanguages);
    EXPECT_EQ(dir.read("plain-file"), "keep me");
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_TRUE(dialogs.shown[0].text.starts_with(elsewhere.getMessages("MSG_LANGUAGENOTSAVED")));
}

// Catches a folder in the file's place being replaced or announced as a success.
TEST_F(LanguageDownloadTest, FolderInPlaceOfTheFileIsReported) {
    std::filesystem::create_directory(dir / "Localization.txt");
    auto window = makeWindow(kHost);
    download(window, kTwoLanguages);
    EXPECT_TRUE(std::filesystem::is_directory(dir / "Localization.txt"));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_TRUE(dialogs.shown[0].text.starts_with(languages.getMessages("MSG_LANGUAGENOTSAVED")));
}

}  // namespace
}  // namespace cd::localization
