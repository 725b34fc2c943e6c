#include "mainwindow/program.h"

#include <chrono>
#include <cstdlib>

#include "localization/message_table.h"
#include "mainwindow/brand_captions.h"
#include "mainwindow/layout.h"
#include "mainwindow/list_sorting.h"
#include "presentation/banner.h"
#include "presentation/menu_items.h"
#include "presentation/skin.h"
#include "util/files.h"
#include "util/text.h"
#include "videosite/video_tables.h"

namespace cd::mainwindow {

namespace fs = std::filesystem;

namespace {
/// A temporary file untouched this long is no write in progress (the
/// catalogue tool may be writing beside the program).
constexpr std::chrono::seconds kStaleTemporaryAge{600};

std::string envOr(const char* name, const std::string& fallback) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : fallback;
}
}  // namespace

Program::Program(platform::Configuration config, fs::path programFolder, fs::path registryFolder, Ports ports,
                 ShellRequests shell)
    : config_(std::move(config)),
      folder_(std::move(programFolder)),
      ports_(ports),
      shell_(std::move(shell)),
      appTitle_(config_.version.productName),
      registryStore_(std::move(registryFolder)),
      registry_(registryStore_, &ports_.pump),
      machineSettings_(registry_, config_.version, ports_.settings, ports_.dialogs),
      machineStore_(machineSettings_),
      ownFetcher_(ports_.fetcher ? nullptr : std::make_unique<fetch::HttpClient>(ports_.loop)),
      fetcher_(ports_.fetcher ? *ports_.fetcher : *ownFetcher_),
      reporter_(fetcher_, config_.hosts.catalogue),
      languages_(config_.version, folder_, windows) {
    ui::MainWindow& f = windows.mainWindow;
    presentation::SetBrandValues(values_, config_);

    localization::LanguagePickerContext lw{
        languages_,
        windows,
        ports_.settings,
        ports_.shell,
        ports_.dialogs,
        fetcher_,
        config_.hosts.language,
        values_.brand.productNumber,
        appTitle_,
        values_.brand.skinning,
        [this](ui::Form& w) { presentation::ApplySkin(w, values_.skin, values_.brand.skinning, nullptr); }};
    languageWindow_ = std::make_unique<localization::LanguagePicker>(std::move(lw));
    categoryView_ = std::make_unique<catalogue::CategoryView>(f, state_, ports_.settings, ports_.dialogs,
                                                              languages_.messages(), folder_, appTitle_);
    channelListDownload_ = std::make_unique<ChannelListDownload>(
        f, state_, *categoryView_, ports_.dialogs, fetcher_, languages_.messages(),
        catalogue::channelListAddress(config_.hosts.catalogue, config_.catalogueListPath), folder_, appTitle_);
    videoPage_ = std::make_unique<videosite::VideoPage>(folder_, ports_.videoBrowser, config_.hosts.videoPlayer,
                                                        ports_.dialogs, appTitle_);
    playback_ = std::make_unique<playback::PlaybackController>(
        ports_.loop, fetcher_, reporter_, ports_.player, playback::PlaybackView{*f.offlinePicture, *f.playerStatus},
        languages_.messages());
    playerControls_ = std::make_unique<playback::PlayerControls>(ports_.player, *playback_, ports_.settings);
    // The volume and mute switch the user left last time.
    playerControls_->restoreVolume();
    favourites_ = std::make_unique<favourites::Favourites>(
        f, folder_,
        [this](const std::string& name, const std::string& address, const std::string& reportValue) {
            playback_->playChannel(name, address, reportValue);
        },
        reporter_, ports_.dialogs, appTitle_,
        [this](const std::string& title, const std::string& id) {
            playback_->supersede();
            videoPage_->showVideoPage(title, id);
        });
    videoSite_ = std::make_unique<videosite::VideoSite>(f, state_.regionCode, state_.currentCategory, fetcher_,
                                                        config_.hosts, folder_, *videoPage_, *favourites_, [this] {
                                                            // A chosen video silences the channel under its page.
                                                            playback_->supersede();
                                                            ports_.player.stop();
                                                        });
    editor_ = std::make_unique<editor::CatalogueEditor>(f, ports_.dialogs, languages_.messages(), folder_, appTitle_);
    // Playing something else gives up a channel probe still waiting.
    localFiles_ = std::make_unique<LocalFiles>(f, ports_.settings, ports_.player, [this] { playback_->supersede(); });

    NavigationHooks hooks;
    hooks.openWebsite = [this](const std::string& request) { openWebsiteWindow(request); };
    hooks.openVideoTab = [this] { videoSite_->openVideoSite(); };
    hooks.editorSelectRow = [this] { editor_->fillFieldsFromSelectedRow(); };
    navigation_ = std::make_unique<Navigation>(f, state_, *categoryView_, ports_.settings, ports_.dialogs, *playback_,
                                               std::move(hooks));
    playlists_ = std::make_unique<PlaylistCommands>(f, state_, *categoryView_, ports_.dialogs, fetcher_,
                                                    languages_.messages(), folder_, appTitle_);

    splash_ =
        std::make_unique<presentation::Splash>(windows.splashWindow, machineStore_, values_, config_, nullptr, [this] {
            if (!LoadMainWindow()) {
                if (shell_.quit) shell_.quit();
                return;
            }
            windows.mainWindow.setVisible(true);
        });
    about_ = std::make_unique<presentation::AboutBox>(windows.aboutWindow, values_);
    help_ = std::make_unique<presentation::HelpViewer>(windows.helpWindow, folder_, ports_.shell, machineStore_);
    website_ = std::make_unique<presentation::WebsiteOpener>(
        windows.websiteWindow, values_, config_, ports_.shell, [this] { windows.unload(windows.websiteWindow); },
        [this](const std::string& address) {
            ports_.dialogs.messageBox(
                util::fillPlaceholders(languages_.messages().getMessages("MSG_PAGENOTOPENED"), {address}), appTitle_,
                platform::Buttons::OK);
        });
    connectControls();

    // What the designer put into the selectors and the drive list.
    videosite::FillVideoSelectors(f);
    const auto mounts = util::readFile("/proc/self/mounts");
    localFiles_->setDrives(BrowsableVolumes(mounts ? *mounts : std::string(), envOr("HOME", "/")));
    localFiles_->showStartFolder(fs::current_path().string());
}

Program::~Program() = default;

void Program::StartSplash() {
    if (!claimProgramFolder()) {
        if (shell_.quit) shell_.quit();
        return;
    }
    windows.load(windows.splashWindow);
    splash_->load();
}

bool Program::claimProgramFolder() {
    if (!instance_) instance_ = SingleInstance::claim(folder_);
    return !instance_->anotherInstanceRuns();
}

bool Program::LoadMainWindow() {
    // 8. Single instance, first of all: a second instance that got as far
    // as the language window or the video page would show a window and
    // replace the running instance's page before it ended.
    if (!claimProgramFolder()) return false;
    ui::MainWindow& f = windows.mainWindow;
    windows.load(f);

    // 1. The video page starts with its placeholder message. A folder that
    // cannot be written leaves the video browser empty; the program runs on.
    videoPage_->writeMessagePage();
    // 2.
    state_.regionCode = "en_us";
    // 3.
    if (shell_.setWindowIcon) shell_.setWindowIcon(f);
    // 4.
    ApplyEditionButtons(f, values_.brand.companyName);
    // 5.
    enterEditorModeIfMarked();
    // 6. The messages are set up before the language is applied, so the
    // language translates them too.
    const std::string savedLanguage = ports_.settings.get("Language", "");
    languages_.setLanguageName(ports_.settings.get("Language", "English"));
    localization::addDefaultMessages(languages_.messages());
    languages_.ChangeLanguage(f, languages_.languageName());
    // 7.
    if (savedLanguage.empty()) {
        ports_.settings.set("Language", "English");
        openLanguageWindow(true);
    }
    // (8. came first.) The one instance: what a killed write left behind is clutter now.
    util::removeStaleTemporaries(folder_, kStaleTemporaryAge);
    // 9.
    ApplyBrandCaptions(f, languages_.messages(), values_.brand.website);
    // 10.
    showBannerIfWanted();
    // 11.
    if (values_.brand.skinning) {
        presentation::AddSkinLabels(f, true);
        presentation::ApplySkin(f, values_.skin, values_.brand.skinning, nullptr);
    }
    // 12.
    firstRunHelp();
    // 13.
    navigation_->showTv();
    // 14.
    favourites_->LoadFavorites();
    // 15.
    localFiles_->RestoreAtStartup();
    mainLoaded_ = true;
    return true;
}

void Program::enterEditorModeIfMarked() {
    if (!util::fileExists(folder_ / "admin.txt")) return;
    ui::MainWindow& f = windows.mainWindow;
    state_.editorMode = true;
    f.editorPanel->setVisible(true);
    // The editor works on every row: no search may hide some of them.
    for (ui::Control* search : {f.channelSearch, f.favouriteSearch}) {
        search->setText("");
        search->setVisible(false);
    }
    f.channelList->addColumn("URL");
    f.dontLoadWhileEditingCheck->setChecked(true);
}

void Program::showBannerIfWanted() {
    if (!values_.brand.bannerFlag) return;
    ui::MainWindow& f = windows.mainWindow;
    f.player->setTop(f.player->top() + f.banner->height());
    presentation::ShowBanner(f, ports_.bannerBrowser, values_.brand, false);
}

void Program::firstRunHelp() {
    if (ports_.settings.get("showHelp", "1") != "1") return;
    presentation::ShowHelpOnce(presentation::HelpWindowHooks(windows, *help_), ports_.pump);
    ports_.settings.set("showHelp", "0");
}

void Program::CloseRequest() {
    // A channel probe still waiting must not start the player once it is
    // closed, and nothing else fetched matters any more.
    playback_->shutDown();
    videoSite_->abandonListings();
    ports_.player.stop();
    ports_.player.close();
}

void Program::Unload() {
    for (ui::Form* w : {static_cast<ui::Form*>(&windows.helpWindow), static_cast<ui::Form*>(&windows.aboutWindow),
                        static_cast<ui::Form*>(&windows.splashWindow)}) {
        if (windows.isLoaded(*w)) windows.unload(*w);
    }
    windows.unload(windows.mainWindow);
    // Every fetch still on its way ends now, not after its bounds, and
    // nothing new is fetched while the program ends.
    fetcher_.shutDown();
    if (shell_.quit) shell_.quit();
}

void Program::Resize(bool minimised) {
    resizeMainWindow(windows.mainWindow, minimised, values_.brand.bannerFlag, windows.mainWindow.banner->height());
}

void Program::openWebsiteWindow(const std::string& request) {
    values_.websiteRequest = request;
    windows.load(windows.websiteWindow);
    website_->load();
}

void Program::openLanguageWindow(bool modal) {
    windows.load(windows.languageWindow);
    languageWindow_->load();
    if (modal) {
        if (shell_.showModal) shell_.showModal(windows.languageWindow);
    } else if (shell_.show) {
        shell_.show(windows.languageWindow);
    }
}

void Program::connectControls() {
    ui::MainWindow& w = windows.mainWindow;
    w.channelActionsButton->clicked.connect([this, &w] {
        if (shell_.popupMenu) shell_.popupMenu(*w.channelActionsMenu);
    });
    w.videoActionsButton->clicked.connect([this, &w] {
        if (shell_.popupMenu) shell_.popupMenu(*w.videoActionsMenu);
    });
    // File: entry 2 is Exit (0 the channel list download, 1 its separator).
    w.fileMenuItems[2]->clicked.connect([this] {
        if (shell_.closeMainWindow) shell_.closeMainWindow();
    });
    w.languageMenuItems[0]->clicked.connect([this] { openLanguageWindow(false); });
    w.aboutMenuItems[0]->clicked.connect([this] {
        windows.load(windows.aboutWindow);
        about_->load();
        if (shell_.show) shell_.show(windows.aboutWindow);
    });
    w.helpMenuItems[0]->clicked.connect(
        [this] { presentation::ShowHelpOnce(presentation::HelpWindowHooks(windows, *help_), ports_.pump); });
    w.channelList->headerClicked.connect([&w](int column) { sortChannelListByColumn(w, column); });
    w.favouritesList->headerClicked.connect([&w](int column) { sortFavouritesByColumn(w, column); });
}

}  // namespace cd::mainwindow
