// The language window: its opening, the language list, picking a language,
// the download of the newest file, and opening the file for editing.
#include "localization/language_window.h"

#include <gtest/gtest.h>

#include <chrono>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "localization_fixture.h"
#include "platform/memory_settings_store.h"
#include "support/fakes.h"
#include "support/loopback_server.h"

namespace cd::localization {
namespace {

using testing::file;
using testing::group;
using testing::LocalizationTest;

const std::string kTwoLanguages =
    file(group("English", {{"FORM1_CMDTV", "TV"}}, "en") +
         group("Deutsch", {{"FORM1_CMDTV", "Fernsehen"}, {"FORM1_MNUFILE0", "Datei"},
                           {"FRMLANGUAGE_COMMAND2", "Schlie\xC3\x9F" "en"}, {"FRMLANGUAGE_CAPTION", "Sprachwahl"}},
               "de"));

class LanguageWindowTest : public LocalizationTest {
protected:
    void SetUp() override {
        addDefaultMessages(languages.messages());
        windows.load(windows.form1);
        windows.load(windows.frmLanguage);
    }

    LanguageWindow makeWindow(const std::string& host = "127.0.0.1:9") {
        return LanguageWindow(LanguageWindowContext{languages, windows, settings, shell, dialogs, fetcher, host, 26,
                                                    "ChannelDeck", skinning,
                                                    [this](ui::Form& f) { skinned.push_back(f.name()); }});
    }
    std::vector<std::string> entries() const { return windows.frmLanguage.Combo1->entries(); }
    std::string comboText() const { return windows.frmLanguage.Combo1->text(); }

    platform::MemorySettingsStore settings;
    test::FakeShell shell;
    test::FakeDialogs dialogs;
    test::FakeEventPump pump;
    fetch::HttpFetcher fetcher{pump};
    bool skinning = false;
    std::vector<std::string> skinned;
};

// Catches the title message overriding a caption the file translates, or the skin applied when switched off.
TEST_F(LanguageWindowTest, LoadTranslatesTitlesAndSkinsOnlyWhenAsked) {
    auto window = makeWindow();
    window.Form_Load();
    EXPECT_EQ(windows.frmLanguage.caption(), "Language Selection") << "from MSG_TITLELANGUAGE";
    EXPECT_TRUE(skinned.empty());

    writeFile(kTwoLanguages);
    languages.setLanguageName("Deutsch");
    windows.frmLanguage.setCaption("");
    skinning = true;
    auto skinnedWindow = makeWindow();
    skinnedWindow.Form_Load();
    EXPECT_EQ(windows.frmLanguage.caption(), "Sprachwahl");
    EXPECT_EQ(windows.frmLanguage.Command2->caption(), "Schlie\xC3\x9F" "en");
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
    LanguageWindow other(LanguageWindowContext{languages, windows, fresh, shell, dialogs, fetcher, "h", 26, "t",
                                               false, {}});
    other.FillLanguageList();
    EXPECT_EQ(comboText(), "English");
}

// Catches a refill that adds to the old list, or a list kept when the file is gone.
TEST_F(LanguageWindowTest, ListIsEmptiedFirstAndStaysEmptyWithoutFile) {
    windows.frmLanguage.Combo1->addItem("stale");
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
    writeFile("\xEF\xBB\xBF" + testing::lfOnly(file(group("English", {}) + group("Fran\xC3\xA7" "ais", {}))));
    auto window = makeWindow();
    window.FillLanguageList();
    EXPECT_EQ(entries(), (std::vector<std::string>{"English", "Fran\xC3\xA7" "ais"}));
}

// Catches the prompt text being stored as a language.
TEST_F(LanguageWindowTest, PromptTextIsIgnored) {
    writeFile(kTwoLanguages);
    auto window = makeWindow();
    windows.frmLanguage.Combo1->setText("Choose Language Here");
    window.Combo1_Click();
    EXPECT_FALSE(settings.contains("Language"));
    EXPECT_EQ(windows.form1.cmdTV->caption(), "TV");
    windows.frmLanguage.Combo1->setText("choose language here");
    window.Combo1_Click();
    EXPECT_EQ(settings.get("Language", ""), "choose language here") << "only the exact prompt is ignored";
}

// Catches a pick that is not saved, or not applied at once to both windows.
TEST_F(LanguageWindowTest, PickingALanguageSavesAndAppliesIt) {
    writeFile(kTwoLanguages);
    auto window = makeWindow();
    window.Form_Load();
    windows.frmLanguage.Combo1->setText("Deutsch");
    window.Combo1_Click();
    EXPECT_EQ(settings.get("Language", ""), "Deutsch");
    EXPECT_EQ(windows.form1.cmdTV->caption(), "Fernsehen");
    EXPECT_EQ(windows.form1.mnuFile->caption(), "Datei");
    EXPECT_EQ(windows.frmLanguage.Command2->caption(), "Schlie\xC3\x9F" "en");
    EXPECT_EQ(windows.frmLanguage.caption(), "Sprachwahl");
    EXPECT_EQ(languages.languageName(), "Deutsch");
}

// Catches OK leaving the window loaded.
TEST_F(LanguageWindowTest, OkUnloadsTheWindow) {
    auto window = makeWindow();
    windows.frmLanguage.setVisible(true);
    window.Command2_Click();
    EXPECT_FALSE(windows.isLoaded(windows.frmLanguage));
    EXPECT_FALSE(windows.frmLanguage.visible());
    EXPECT_TRUE(windows.isLoaded(windows.form1));
}

// Catches the shell asked to open a file that is not there, or the wrong path.
TEST_F(LanguageWindowTest, TranslateOpensTheFileOnlyWhenItExists) {
    auto window = makeWindow();
    window.Command3_Click();
    EXPECT_TRUE(shell.opened.empty());
    writeFile(kTwoLanguages);
    window.Command3_Click();
    EXPECT_EQ(shell.opened, std::vector<std::string>{(dir / "Localization.txt").string()});
}

class LanguageDownloadTest : public LanguageWindowTest {
protected:
    void serve(std::string body) {
        body_ = std::move(body);
        server.server().Get("/Languages/26/Localization.txt", [this](const httplib::Request&, httplib::Response& res) {
            ++requests;
            res.set_content(body_, "text/plain");
        });
        server.start();
    }
    const std::string kOld = file(group("English", {{"FORM1_CMDTV", "TV"}}));
    test::LoopbackServer server;
    int requests = 0;

private:
    std::string body_;
};

// Catches leading text (a byte-order mark, a stray line) kept in the saved file.
TEST_F(LanguageDownloadTest, LeadingTextBeforeTheFirstTagIsDropped) {
    writeFile(kOld);
    serve("\xEF\xBB\xBFnote: generated\r\n" + kTwoLanguages);
    auto window = makeWindow(server.host());
    EXPECT_EQ(window.downloadAddress(), server.url("/Languages/26/Localization.txt"));
    window.Command1_Click();
    EXPECT_EQ(requests, 1);
    EXPECT_EQ(dir.read("Localization.txt"), kTwoLanguages + "\r\n");
    EXPECT_EQ(entries(), (std::vector<std::string>{"English", "Deutsch"}));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, languages.getMessages("MSG_DOWNLOADED"));
    EXPECT_EQ(dialogs.shown[0].title, "ChannelDeck");
    EXPECT_EQ(dialogs.shown[0].buttons, platform::Buttons::OK);
    EXPECT_EQ(windows.form1.cmdTV->caption(), "TV") << "a download applies nothing by itself";
}

// Catches a body that starts with "<" being altered, or the CR LF not added.
TEST_F(LanguageDownloadTest, BodyStartingWithTagIsSavedUnchangedPlusCrLf) {
    const std::string body = "<x><translation_items>";
    serve(body);
    auto window = makeWindow(server.host());
    window.Command1_Click();
    EXPECT_EQ(dir.read("Localization.txt"), body + "\r\n");
    EXPECT_EQ(dialogs.shown.size(), 1u);
}

// Catches an error page or an empty answer replacing the file or showing a message.
TEST_F(LanguageDownloadTest, ForeignBodyChangesNothing) {
    writeFile(kOld);
    serve("<html><body>404 Not Found</body></html>");
    auto window = makeWindow(server.host());
    window.FillLanguageList();
    window.Command1_Click();
    EXPECT_EQ(requests, 1);
    EXPECT_EQ(dir.read("Localization.txt"), kOld);
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(entries(), std::vector<std::string>{"English"});
}

// Catches a download cut short by the program's end being saved over a
// working file: the first half of a language file has the marker too.
TEST_F(LanguageDownloadTest, DownloadCutShortByClosingChangesNothing) {
    writeFile(kOld);
    const std::string half = kTwoLanguages.substr(0, kTwoLanguages.size() / 2);
    ASSERT_NE(half.find("<TRANSLATION_ITEMS>"), std::string::npos);
    const std::string rest = kTwoLanguages.substr(half.size());
    // The server thread may still be in the provider after the test body
    // ends, so it owns copies of the two halves.
    server.server().Get("/Languages/26/Localization.txt", [half, rest](const httplib::Request&,
                                                                        httplib::Response& res) {
        res.set_chunked_content_provider("text/plain", [half, rest](std::size_t offset, httplib::DataSink& sink) {
            if (offset > 0) std::this_thread::sleep_for(std::chrono::milliseconds(200));
            const std::string& piece = offset == 0 ? half : rest;
            if (!sink.write(piece.data(), piece.size())) return false;
            if (offset > 0) sink.done();
            return true;
        });
    });
    server.start();
    pump.onPump = [&] { fetcher.shutDown(); };
    auto window = makeWindow(server.host());
    window.Command1_Click();
    EXPECT_EQ(dir.read("Localization.txt"), kOld);
    EXPECT_TRUE(dialogs.shown.empty());
}

// Catches a download the server broke off, holding the marker, being saved
// over a working file.
TEST_F(LanguageDownloadTest, DownloadBrokenOffByTheServerChangesNothing) {
    writeFile(kOld);
    const std::string half = kTwoLanguages.substr(0, kTwoLanguages.size() / 2);
    server.server().Get("/Languages/26/Localization.txt", [half](const httplib::Request&, httplib::Response& res) {
        res.set_content_provider(half.size() * 2, "text/plain",
                                 [half](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                     return offset == 0 && sink.write(half.data(), half.size());
                                 });
    });
    server.start();
    auto window = makeWindow(server.host());
    window.Command1_Click();
    EXPECT_EQ(dir.read("Localization.txt"), kOld);
    EXPECT_TRUE(dialogs.shown.empty());
}

// Catches an unreachable server being treated as a download.
TEST_F(LanguageDownloadTest, UnreachableServerChangesNothing) {
    writeFile(kOld);
    serve("unused");
    const std::string host = server.host();
    server.stop();
    auto window = makeWindow(host);
    window.Command1_Click();
    EXPECT_EQ(dir.read("Localization.txt"), kOld);
    EXPECT_TRUE(dialogs.shown.empty());
}

// Catches a write failing half-way costing the old file, or being announced as a success.
TEST_F(LanguageDownloadTest, FailedWriteKeepsTheOldFileAndSaysSo) {
    writeFile(kOld);
    std::string big = kTwoLanguages;
    big.insert(big.find("</XML_DIZ_INFO>"), std::string(64 * 1024, ' '));
    serve(big);
    auto window = makeWindow(server.host());
    window.FillLanguageList();
    {
        testing::FileSizeLimit limit(4096);
        window.Command1_Click();
    }
    EXPECT_EQ(requests, 1);
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
    serve(kTwoLanguages);
    LanguageWindow window(LanguageWindowContext{elsewhere, windows, settings, shell, dialogs, fetcher,
                                                server.host(), 26, "ChannelDeck", false, {}});
    window.Command1_Click();
    EXPECT_EQ(dir.read("plain-file"), "keep me");
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_TRUE(dialogs.shown[0].text.starts_with(elsewhere.getMessages("MSG_LANGUAGENOTSAVED")));
}

// Catches a folder in the file's place being replaced or announced as a success.
TEST_F(LanguageDownloadTest, FolderInPlaceOfTheFileIsReported) {
    std::filesystem::create_directory(dir / "Localization.txt");
    serve(kTwoLanguages);
    auto window = makeWindow(server.host());
    window.Command1_Click();
    EXPECT_TRUE(std::filesystem::is_directory(dir / "Localization.txt"));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_TRUE(dialogs.shown[0].text.starts_with(languages.getMessages("MSG_LANGUAGENOTSAVED")));
}

}  // namespace
}  // namespace cd::localization
