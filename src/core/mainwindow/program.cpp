#include "mainwindow/program.h"

#include <chrono>
#include <cstdlib>

#include "localization/message_table.h"
#include "mainwindow/layout.h"
#include "mainwindow/list_sorting.h"
#include "presentation/banner.h"
#include "presentation/menu_items.h"
#include "presentation/skin.h"
#include "util/files.h"
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
    videoPage_ = std::make_unique<videosite::VideoPage>(folder_, ports_.videoBrowser, config_.hosts.videoPlayer,
                                                        ports_.dialogs, appTitle_);
    playback_ = std::make_unique<playback::PlaybackController>(fetcher_, reporter_, ports_.player,
                                                               playback::PlaybackView{*f.offlinePicture, *f.playerStatus},
                                                               languages_.messages());
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
                                                        config_.hosts, folder_, *videoPage_, *favourites_);
    editor_ = std::make_unique<editor::CatalogueEditor>(f, ports_.dialogs, languages_.messages(), folder_, appTitle_);
    localFiles_ = std::make_unique<LocalFiles>(f, ports_.settings, ports_.player);

    NavigationHooks hooks;
    hooks.openWebsite = [this](const std::string& request) { openWebsiteWindow(request); };
    hooks.openVideoTab = [this] { videoSite_->cmdYouTube_Click(); };
    hooks.editorSelectRow = [this] { editor_->SelectRow(); };
    navigation_ = std::make_unique<Navigation>(f, state_, *categoryView_, ports_.settings, ports_.dialogs, *playback_,
                                               std::move(hooks));

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
    website_ = std::make_unique<presentation::WebsiteOpener>(windows.websiteWindow, values_, config_, ports_.shell,
                                                             [this] { windows.unload(windows.websiteWindow); });

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
    splash_->Form_Load();
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
    f.setCaption(values_.brand.productName + " by " + values_.brand.companyName);
    f.websiteButton->setCaption("Visit " + values_.brand.website);
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
    navigation_->cmdTV_Click();
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
    Form_Resize(windows.mainWindow, minimised, values_.brand.bannerFlag, windows.mainWindow.banner->height());
}

void Program::openWebsiteWindow(const std::string& request) {
    values_.websiteRequest = request;
    windows.load(windows.websiteWindow);
    website_->Form_Load();
}

void Program::openLanguageWindow(bool modal) {
    windows.load(windows.languageWindow);
    languageWindow_->Form_Load();
    if (modal) {
        if (shell_.showModal) shell_.showModal(windows.languageWindow);
    } else if (shell_.show) {
        shell_.show(windows.languageWindow);
    }
}

void Program::route(const WindowEvent& e) {
    if (e.form == "Form1") {
        routeMain(e);
    } else if (e.form == "frmLanguage") {
        if (e.control == "Combo1" && e.kind == EventKind::Click) languageWindow_->Combo1_Click();
        if (e.control == "Command1" && e.kind == EventKind::Click) languageWindow_->Command1_Click();
        if (e.control == "Command2" && e.kind == EventKind::Click) languageWindow_->Command2_Click();
        if (e.control == "Command3" && e.kind == EventKind::Click) languageWindow_->Command3_Click();
    } else if (e.form == "frmSplash") {
        if (e.control == "Timer2" && e.kind == EventKind::TimerTick) splash_->Timer2_Tick();
    } else if (e.form == "frmWebsite") {
        if (e.control == "Timer1" && e.kind == EventKind::TimerTick) website_->Timer1_Tick();
    }
}

void Program::routeMain(const WindowEvent& e) {
    ui::MainWindow& f = windows.mainWindow;
    const std::string& c = e.control;
    const int index = e.index.value_or(0);
    switch (e.kind) {
        case EventKind::Click:
            if (c == "cmdTV")
                navigation_->cmdTV_Click();
            else if (c == "cmdRadio")
                navigation_->cmdRadio_Click();
            else if (c == "cmdVideo")
                navigation_->cmdVideo_Click();
            else if (c == "cmdFavorites")
                navigation_->cmdFavorites_Click();
            else if (c == "cmdFiles")
                navigation_->cmdFiles_Click();
            else if (c == "cmdSports")
                navigation_->cmdSports_Click();
            else if (c == "cmdExtras")
                navigation_->cmdExtras_Click();
            else if (c == "cmdXXX")
                navigation_->cmdXXX_Click();
            else if (c == "cmdYouTube")
                navigation_->cmdYouTube_Click();
            else if (c == "cmdWebsite")
                navigation_->cmdWebsite_Click();
            else if (c == "cmdFav") {
                if (shell_.popupMenu) shell_.popupMenu("mnuActions");
            } else if (c == "Command4") {
                if (shell_.popupMenu) shell_.popupMenu("mnuActions2");
            } else if (c == "Command1")
                favourites_->Command1_Click();
            else if (c == "Combo1")
                categoryView_->Combo1_Click();
            else if (c == "Combo3")
                videoSite_->Combo3_Click();
            else if (c == "Combo4")
                videoSite_->Combo4_Click();
            else if (c == "cmdSearch")
                videoSite_->cmdSearch_Click();
            else if (c == "File1") {
                // One click on a file plays it at once.
                playback_->supersede();
                localFiles_->File1_Click(index);
            } else if (c == "Dir1") {
                // A single click only selects a folder; a double click opens it.
            } else
                routeEditor(e);
            break;
        case EventKind::DoubleClick:
            if (c == "Dir1") localFiles_->Dir1_Open(index);
            break;
        case EventKind::ItemClick:
            if (c == "ListView1")
                navigation_->ListView1_Click();
            else if (c == "ListView2")
                favourites_->ListView2_Click();
            else if (c == "ListView3") {
                // Playing something else supersedes a channel probe still waiting.
                playback_->supersede();
                videoSite_->ListView3_Click();
            }
            break;
        case EventKind::HeaderClick:
            if (c == "ListView1")
                ListView1_ColumnClick(f, e.column);
            else if (c == "ListView2")
                ListView2_ColumnClick(f, e.column);
            break;
        case EventKind::Change:
            if (c == "Drive1") localFiles_->Drive1_Change(f.driveList->current());
            break;
        case EventKind::KeyPress:
            if (c == "Text2")
                editor_->Text2_KeyPress(e.key);
            else if (c == "Text3")
                editor_->Text3_KeyPress(e.key);
            break;
        case EventKind::MenuClick:
            if (c == "mnuCatItem")
                navigation_->mnuCatItem_Click(index);
            else if (c == "mnuFileItem") {
                if (index == 2 && shell_.closeMainWindow) shell_.closeMainWindow();
            } else if (c == "mnuActionItem")
                favourites_->mnuActionItem_Click(index);
            else if (c == "mnuAction2Item")
                videoSite_->mnuAction2Item_Click(index);
            else if (c == "mnuLanguageItem")
                openLanguageWindow(false);
            else if (c == "mnuAboutItem") {
                windows.load(windows.aboutWindow);
                about_->Form_Load();
                if (shell_.show) shell_.show(windows.aboutWindow);
            } else if (c == "mnuHelpItem") {
                presentation::ShowHelpOnce(presentation::HelpWindowHooks(windows, *help_), ports_.pump);
            }
            break;
        case EventKind::TimerTick:
            break;
    }
}

void Program::routeEditor(const WindowEvent& e) {
    if (!state_.editorMode) return;
    const std::string& c = e.control;
    if (c == "cmdAdd")
        editor_->cmdAdd_Click();
    else if (c == "cmdEdit")
        editor_->cmdEdit_Click();
    else if (c == "cmdReplace")
        editor_->cmdReplace_Click();
    else if (c == "cmdDupes")
        editor_->cmdDupes_Click();
    else if (c == "DELChannel")
        editor_->DELChannel_Click();
    else if (c == "Clear")
        editor_->Clear_Click();
    else if (c == "Command2")
        editor_->Command2_Click();
    else if (c == "doLoad")
        editor_->doLoad_Click();
    else if (c == "save")
        editor_->save_Click();
    else if (c == "cmdLoad2")
        editor_->cmdLoad2_Click();
}

}  // namespace cd::mainwindow
