#pragma once
// The composition root of one run of ChannelDeck: every window model, every
// subsystem object and the ports they share, wired the way the windows use
// them. The Qt shell builds one Program with its own ports; tests build one
// with fakes. Each subsystem connects the signals of the controls it owns in
// its constructor; the shell raises them.
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "catalogue/category_view.h"
#include "catalogue/navigation_state.h"
#include "editor/catalogue_editor.h"
#include "favourites/favourites.h"
#include "fetch/fetcher.h"
#include "fetch/http_client.h"
#include "fetch/report.h"
#include "localization/cls_languages.h"
#include "localization/language_picker.h"
#include "mainwindow/channel_list_download.h"
#include "mainwindow/local_files.h"
#include "mainwindow/navigation.h"
#include "mainwindow/playlist_commands.h"
#include "mainwindow/single_instance.h"
#include "platform/browser.h"
#include "platform/configuration.h"
#include "platform/dialogs.h"
#include "platform/event_loop.h"
#include "platform/event_pump.h"
#include "platform/player.h"
#include "platform/settings_store.h"
#include "platform/shell.h"
#include "playback/playback_controller.h"
#include "playback/player_controls.h"
#include "presentation/about_box.h"
#include "presentation/help_viewer.h"
#include "presentation/machine_store.h"
#include "presentation/program_values.h"
#include "presentation/splash.h"
#include "presentation/website_opener.h"
#include "registry/cls_registry_access.h"
#include "registry/machine_settings.h"
#include "registry/registry_store.h"
#include "ui/windows.h"
#include "videosite/video_page.h"
#include "videosite/video_site.h"

namespace cd::mainwindow {

struct Ports {
    platform::EventLoop& loop;
    platform::EventPump& pump;
    platform::Player& player;
    platform::Browser& videoBrowser;   // videoPage
    platform::Browser& bannerBrowser;  // banner
    platform::Dialogs& dialogs;
    platform::Shell& shell;
    platform::SettingsStore& settings;  // per-user, section "Settings"
    /// Every fetch goes here; null: the program's own HttpClient on loop.
    fetch::Fetcher* fetcher = nullptr;
};

/// What the program asks of the shell beyond the ports.
struct ShellRequests {
    /// Shows a window modally and returns when it is closed.
    std::function<void(ui::Form&)> showModal;
    /// Shows a window, not modally.
    std::function<void(ui::Form&)> show;
    /// Opens a pop-up menu (channelActionsMenu, videoActionsMenu) at the mouse position.
    std::function<void(const ui::Control& menu)> popupMenu;
    /// Sets a window's large and small icons to the program's icon.
    std::function<void(ui::Form&)> setWindowIcon;
    /// Asks the main window to close (the File menu's "Exit").
    std::function<void()> closeMainWindow;
    /// Ends the program once the main window is unloaded.
    std::function<void()> quit;
};

class Program {
public:
    Program(platform::Configuration config, std::filesystem::path programFolder, std::filesystem::path registryFolder,
            Ports ports, ShellRequests shell);
    ~Program();

    ui::Windows windows;

    /// Hands over the lock of the program's folder, claimed by the caller
    /// before it showed or wrote anything (main() does, before Qt starts).
    /// Without it, start-up claims the lock itself.
    void adoptInstanceLock(SingleInstance lock) { instance_ = std::move(lock); }
    /// The splash window's load: the program's first window. When another
    /// instance runs for the folder, it asks the shell to end instead and
    /// shows and writes nothing.
    void StartSplash();
    /// The main window's load: the fifteen start-up steps, the
    /// single-instance step first of all. False when another instance runs:
    /// the program must then end; nothing was shown or written.
    bool LoadMainWindow();
    /// The close request: stop, then close the player. Nothing cancels it.
    void CloseRequest();
    /// Unload: unloads the help, about and splash windows and ends the program.
    void Unload();
    /// The main window was resized (also once when first shown).
    void Resize(bool minimised);

    const std::filesystem::path& programFolder() const { return folder_; }
    catalogue::NavigationState& state() { return state_; }
    presentation::ProgramValues& values() { return values_; }
    localization::ClsLanguages& languages() { return languages_; }
    favourites::Favourites& favourites() { return *favourites_; }
    videosite::VideoSite& videoSite() { return *videoSite_; }
    Navigation& navigation() { return *navigation_; }
    playback::PlaybackController& playback() { return *playback_; }
    /// The player's keys, the double click on the picture and the media keys.
    playback::PlayerControls& playerControls() { return *playerControls_; }
    fetch::Fetcher& fetcher() { return fetcher_; }
    localization::LanguagePicker& languageWindow() { return *languageWindow_; }
    LocalFiles& localFiles() { return *localFiles_; }
    bool mainWindowLoaded() const { return mainLoaded_; }
    /// The lock on the program's folder that this run holds (null before
    /// start-up claimed it, or when another instance holds it).
    SingleInstance* instanceLock() { return instance_ && instance_->holdsLock() ? &*instance_ : nullptr; }
    /// True when start-up found another instance running for the folder.
    bool anotherInstanceRuns() const { return instance_ && instance_->anotherInstanceRuns(); }

private:
    /// The controls whose handlers belong to the program as a whole:
    /// pop-up menus, Exit, the language, about and help entries, sorting.
    void connectControls();
    void openWebsiteWindow(const std::string& request);
    void openLanguageWindow(bool modal);
    void enterEditorModeIfMarked();
    void showBannerIfWanted();
    void firstRunHelp();
    /// The single-instance step; false when another instance runs.
    bool claimProgramFolder();

    platform::Configuration config_;
    std::filesystem::path folder_;
    Ports ports_;
    ShellRequests shell_;
    std::string appTitle_;

    presentation::ProgramValues values_;
    catalogue::NavigationState state_;
    registry::RegistryStore registryStore_;
    registry::ClsRegistryAccess registry_;
    registry::MachineSettings machineSettings_;
    presentation::MachineStoreAdapter<registry::MachineSettings> machineStore_;
    std::unique_ptr<fetch::HttpClient> ownFetcher_;
    fetch::Fetcher& fetcher_;
    fetch::Reporter reporter_;
    localization::ClsLanguages languages_;
    /// Channel and favourite probes, video pages and local files: the newest
    /// playback request wins over one still waiting for its probe.
    std::unique_ptr<playback::PlaybackController> playback_;
    std::unique_ptr<playback::PlayerControls> playerControls_;
    std::unique_ptr<localization::LanguagePicker> languageWindow_;
    std::unique_ptr<catalogue::CategoryView> categoryView_;
    std::unique_ptr<videosite::VideoPage> videoPage_;
    std::unique_ptr<favourites::Favourites> favourites_;
    std::unique_ptr<videosite::VideoSite> videoSite_;
    std::unique_ptr<editor::CatalogueEditor> editor_;
    std::unique_ptr<LocalFiles> localFiles_;
    std::unique_ptr<Navigation> navigation_;
    std::unique_ptr<PlaylistCommands> playlists_;
    std::unique_ptr<ChannelListDownload> channelListDownload_;
    std::unique_ptr<presentation::Splash> splash_;
    std::unique_ptr<presentation::AboutBox> about_;
    std::unique_ptr<presentation::HelpViewer> help_;
    std::unique_ptr<presentation::WebsiteOpener> website_;
    std::optional<SingleInstance> instance_;
    bool mainLoaded_ = false;
};

}  // namespace cd::mainwindow
