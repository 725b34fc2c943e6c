#include "mainwindow/program.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "catalogue/line_cipher.h"
#include "platform/memory_settings_store.h"
#include "platform/poll_event_loop.h"
#include "support/fakes.h"
#include "support/scripted_fetcher.h"
#include "support/temp_dir.h"

namespace cd::mainwindow {
namespace {

struct Harness {
    test::TempDir dir;
    platform::PollEventLoop loop;
    test::FakeEventPump pump;
    test::ScriptedFetcher fetcher;
    test::FakePlayer player;
    test::FakeBrowser video, banner;
    test::FakeDialogs dialogs;
    test::FakeShell shell;
    platform::MemorySettingsStore settings;
    std::vector<std::string> modal, shown, log;
    std::unique_ptr<Program> program;

    explicit Harness(const std::string& company = "Quenmark Software") {
        dir.write("Data.txt", catalogue::EncodeLine("One|http://127.0.0.1:9/x|TV|English") + "\r\n" +
                                  catalogue::EncodeLine("Two|http://127.0.0.1:9/y|Radio|English") + "\r\n");
        std::filesystem::create_directory(dir / "registry");
        config = platform::Configuration::defaults();
        config.version.companyName = company;
        config.hosts.catalogue = "127.0.0.1:9";
    }
    platform::Configuration config;

    Program& make() {
        ShellRequests r;
        r.showModal = [this](ui::Form& f) { modal.push_back(f.name()); };
        r.show = [this](ui::Form& f) { shown.push_back(f.name()); };
        r.quit = [this] { log.push_back("quit"); };
        r.setWindowIcon = [this](ui::Form& f) { log.push_back("icon " + f.name()); };
        program =
            std::make_unique<Program>(config, dir.path(), dir / "registry",
                                      Ports{loop, pump, player, video, banner, dialogs, shell, settings, &fetcher}, r);
        return *program;
    }
};

// Catches a first run that skips the language window or leaves "Language" unset.
TEST(Program, FirstRunAsksForALanguageAndOpensTheHelpOnce) {
    Harness h;
    h.dir.write("Help.html", "<html></html>");
    Program& p = h.make();
    ASSERT_TRUE(p.LoadMainWindow());
    EXPECT_EQ(h.modal, (std::vector<std::string>{"frmLanguage"}));
    EXPECT_EQ(h.settings.get("Language", ""), "English");
    EXPECT_EQ(h.settings.get("showHelp", ""), "0");
    ASSERT_EQ(h.shell.opened.size(), 1u);
    EXPECT_NE(h.shell.opened[0].find("Help.html"), std::string::npos);
    EXPECT_EQ(p.windows.mainWindow.caption(), "ChannelDeck by Quenmark Software");
    EXPECT_EQ(p.windows.mainWindow.websiteButton->caption(), "Visit www.channeldeck.org");
    EXPECT_EQ(p.state().currentCategory, "TV");
    EXPECT_EQ(p.windows.mainWindow.channelList->count(), 1);
    EXPECT_EQ(p.state().regionCode, "en_us");
    ASSERT_FALSE(h.video.navigated2.empty()) << "the placeholder video page is shown";
    EXPECT_NE(h.dir.read("youtube.html").find("Please select a video from the list to the left"), std::string::npos);
}

// Catches the help or language window coming back once the settings say they were seen.
TEST(Program, LaterRunsOpenNeitherLanguageWindowNorHelp) {
    Harness h;
    h.dir.write("Help.html", "<html></html>");
    h.settings.set("Language", "English");
    h.settings.set("showHelp", "0");
    ASSERT_TRUE(h.make().LoadMainWindow());
    EXPECT_TRUE(h.modal.empty());
    EXPECT_TRUE(h.shell.opened.empty());
}

// Catches an edition test that is not exact, or editor mode from a folder named admin.txt.
TEST(Program, EditionAndEditorModeFollowTheirExactRules) {
    {
        Harness h("Quenmark Software ");
        std::filesystem::create_directory(h.dir / "admin.txt");
        h.settings.set("Language", "English");
        Program& p = h.make();
        ASSERT_TRUE(p.LoadMainWindow());
        EXPECT_FALSE(p.windows.mainWindow.adultButton->visible());
        EXPECT_FALSE(p.windows.mainWindow.categoryMenuItems[5]->visible());
        EXPECT_FALSE(p.state().editorMode);
        EXPECT_EQ(p.windows.mainWindow.channelList->columnCount(), 7);
    }
    {
        Harness h;
        h.dir.write("admin.txt", "");
        h.settings.set("Language", "English");
        Program& p = h.make();
        ASSERT_TRUE(p.LoadMainWindow());
        const ui::MainWindow& f = p.windows.mainWindow;
        EXPECT_TRUE(f.adultButton->visible());
        EXPECT_TRUE(f.categoryMenuItems[7]->visible());
        EXPECT_EQ(f.websiteButton->left(), f.adultButton->left() + f.adultButton->width() + 60);
        EXPECT_TRUE(p.state().editorMode);
        EXPECT_TRUE(f.editorPanel->visible());
        EXPECT_EQ(f.channelList->columnText(8), "URL");
        EXPECT_TRUE(f.dontLoadWhileEditingCheck->checked());
        EXPECT_FALSE(f.channelSearch->visible()) << "the editor works on every row";
        EXPECT_FALSE(f.favouriteSearch->visible());
    }
}

// Catches a second instance that gets as far as the first-run language
// window, the splash or the video page before it ends: it must show and
// write nothing, so the running instance keeps its page and its settings.
TEST(Program, SecondInstanceEndsBeforeShowingOrWritingAnything) {
    Harness first;
    first.settings.set("Language", "English");
    first.settings.set("showHelp", "0");
    ASSERT_TRUE(first.make().LoadMainWindow());
    ASSERT_NE(first.program->instanceLock(), nullptr);
    first.dir.write("youtube.html", "the running instance's video page");

    // A first run of its own (no "Language"), which would open the language window.
    for (int entry = 0; entry < 2; ++entry) {
        Harness second;
        ShellRequests r;
        std::vector<std::string> modal;
        int quits = 0;
        r.showModal = [&](ui::Form& f) { modal.push_back(f.name()); };
        r.quit = [&] { ++quits; };
        Program p(second.config, first.dir.path(), second.dir / "registry",
                  Ports{second.loop, second.pump, second.player, second.video, second.banner, second.dialogs,
                        second.shell, second.settings, &second.fetcher},
                  r);
        if (entry == 0) {
            p.StartSplash();
            EXPECT_EQ(quits, 1) << "the shell is asked to end the program";
            EXPECT_FALSE(p.windows.isLoaded(p.windows.splashWindow));
        } else {
            EXPECT_FALSE(p.LoadMainWindow());
        }
        EXPECT_TRUE(p.anotherInstanceRuns());
        EXPECT_EQ(p.instanceLock(), nullptr);
        EXPECT_TRUE(modal.empty()) << "entry " << entry;
        EXPECT_FALSE(p.windows.mainWindow.visible());
        EXPECT_FALSE(second.settings.contains("Language")) << "entry " << entry;
        EXPECT_TRUE(second.video.navigated2.empty());
        EXPECT_EQ(first.dir.read("youtube.html"), "the running instance's video page") << "entry " << entry;
    }

    // The lock goes with the program that held it; the next start is the one instance.
    first.program.reset();
    Harness third;
    third.settings.set("Language", "English");
    Program p(third.config, first.dir.path(), third.dir / "registry",
              Ports{third.loop, third.pump, third.player, third.video, third.banner, third.dialogs, third.shell,
                    third.settings, &third.fetcher},
              {});
    EXPECT_TRUE(p.LoadMainWindow());
}

// Catches a lock handed over by the caller being claimed again (and found
// taken, by the caller itself) instead of kept.
TEST(Program, AdoptedFolderLockIsKeptForTheRun) {
    Harness h;
    h.settings.set("Language", "English");
    auto lock = SingleInstance::claim(h.dir.path());
    ASSERT_TRUE(lock.holdsLock());
    Program& p = h.make();
    p.adoptInstanceLock(std::move(lock));
    EXPECT_TRUE(p.LoadMainWindow());
    ASSERT_NE(p.instanceLock(), nullptr);
    EXPECT_TRUE(SingleInstance::claim(h.dir.path()).anotherInstanceRuns());
}

// Catches a close that does not stop before closing, or an unload that leaves helper windows.
TEST(Program, CloseStopsThenClosesAndUnloadEnds) {
    Harness h;
    h.settings.set("Language", "English");
    Program& p = h.make();
    ASSERT_TRUE(p.LoadMainWindow());
    p.windows.mainWindow.aboutMenuItems[0]->clicked.raise();
    EXPECT_TRUE(p.windows.isLoaded(p.windows.aboutWindow));
    EXPECT_EQ(p.windows.aboutWindow.caption(), "About ChannelDeck");
    p.CloseRequest();
    EXPECT_EQ(h.player.log, (std::vector<std::string>{"stop", "close"}));
    p.Unload();
    EXPECT_FALSE(p.windows.isLoaded(p.windows.aboutWindow));
    EXPECT_EQ(h.log.back(), "quit");
}

// Catches a file that a single click does not play, or a folder opened by
// a single click.
TEST(Program, LocalFilesPlayOnOneClickAndFoldersOpenOnTwo) {
    Harness h;
    h.settings.set("Language", "English");
    std::filesystem::create_directories(h.dir / "media" / "sub");
    h.dir.write("media/tone.wav", "RIFF");
    Program& p = h.make();
    ASSERT_TRUE(p.LoadMainWindow());
    const std::string media = (h.dir / "media").string();
    ASSERT_TRUE(p.localFiles().showFolder(media));
    ASSERT_EQ(p.windows.mainWindow.fileList->entries().size(), 1u);

    ui::MainWindow& w = p.windows.mainWindow;
    w.fileList->itemClicked.raise(0);
    EXPECT_EQ(h.player.urls, (std::vector<std::string>{media + "/tone.wav"}));

    int sub = -1;
    for (int i = 0; !p.localFiles().folderPath(i).empty(); ++i)
        if (p.localFiles().folderPath(i) == media + "/sub") sub = i;
    ASSERT_GE(sub, 0);
    w.folderList->itemClicked.raise(sub);
    EXPECT_EQ(p.windows.mainWindow.fileList->current(), media);
    w.folderList->itemActivated.raise(sub);
    EXPECT_EQ(p.windows.mainWindow.fileList->current(), media + "/sub");
    EXPECT_TRUE(p.windows.mainWindow.fileList->entries().empty());
}

// Catches the temporary file of a write killed in an earlier run staying
// in the program folder for good.
TEST(Program, StartUpRemovesWhatAKilledWriteLeftBehind) {
    Harness h;
    h.settings.set("Language", "English");
    h.dir.write(".Favorites.txt.tmp4242", "half a file");
    std::filesystem::last_write_time(h.dir / ".Favorites.txt.tmp4242",
                                     std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
    Program& p = h.make();
    ASSERT_TRUE(p.LoadMainWindow());
    EXPECT_FALSE(std::filesystem::exists(h.dir / ".Favorites.txt.tmp4242"));
    EXPECT_TRUE(std::filesystem::exists(h.dir / "Data.txt"));
}

// Catches the splash not opening the main window on its 75th tick.
TEST(Program, SplashOpensTheMainWindowOnThe75thTick) {
    Harness h;
    h.settings.set("Language", "English");
    Program& p = h.make();
    p.StartSplash();
    for (int i = 0; i < 74; ++i) p.windows.splashWindow.startTimer->ticked.raise();
    EXPECT_FALSE(p.mainWindowLoaded());
    p.windows.splashWindow.startTimer->ticked.raise();
    EXPECT_TRUE(p.mainWindowLoaded());
    EXPECT_TRUE(p.windows.mainWindow.visible());
    EXPECT_FALSE(p.windows.splashWindow.visible());
}

// Catches the website button or Extras opening nothing.
TEST(Program, WebsiteRequestsReachTheShell) {
    Harness h;
    h.settings.set("Language", "English");
    Program& p = h.make();
    ASSERT_TRUE(p.LoadMainWindow());
    p.windows.mainWindow.extrasButton->clicked.raise();
    ASSERT_EQ(h.shell.opened.size(), 1u);
    EXPECT_EQ(h.shell.opened[0], "http://www.channeldeck.org");
    p.windows.websiteWindow.openTimer->ticked.raise();
    h.shell.opened.clear();
    EXPECT_TRUE(h.dialogs.shown.empty()) << "an opened page is no news";
    p.windows.mainWindow.websiteButton->clicked.raise();
    ASSERT_EQ(h.shell.opened.size(), 1u);
    EXPECT_EQ(h.shell.opened[0], "http://www.channeldeck.org");
    p.windows.websiteWindow.openTimer->ticked.raise();
    EXPECT_FALSE(p.windows.isLoaded(p.windows.websiteWindow));
    // A desktop without a browser: the user hears of it.
    h.shell.result = false;
    p.windows.mainWindow.websiteButton->clicked.raise();
    ASSERT_EQ(h.dialogs.shown.size(), 1u);
    EXPECT_NE(h.dialogs.shown[0].text.find("http://www.channeldeck.org could not be opened"), std::string::npos)
        << h.dialogs.shown[0].text;
}

// Catches a saved language not applied at start-up, and a caption and
// website button put back in English after it.
TEST(Program, SavedLanguageIsAppliedAtStartUp) {
    Harness h;
    h.settings.set("Language", "Deutsch");
    std::filesystem::copy_file(std::filesystem::path(CD_SOURCE_DIR) / "data" / "Localization.txt",
                               h.dir / "Localization.txt");
    Program& p = h.make();
    ASSERT_TRUE(p.LoadMainWindow());
    EXPECT_NE(p.windows.mainWindow.favouritesButton->caption(), "Favorites");
    EXPECT_NE(p.windows.mainWindow.fileMenuItems[2]->caption(), "Exit");
    const std::string caption = p.windows.mainWindow.caption();
    EXPECT_NE(caption.find(" von "), std::string::npos) << caption;
    EXPECT_EQ(caption.find("[ProgramName]"), std::string::npos) << caption;
    const std::string visit = p.windows.mainWindow.websiteButton->caption();
    EXPECT_TRUE(visit.ends_with(" besuchen")) << visit;
    EXPECT_GT(visit.size(), std::string(" besuchen").size()) << "the website is filled in";
}

}  // namespace
}  // namespace cd::mainwindow
