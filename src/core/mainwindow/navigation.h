#pragma once
// Category navigation and playback of the main window: the category buttons
// and their Categories menu twins, the adult consent box, and the channel
// click that tests a channel before it plays.
#include <functional>
#include <memory>
#include <string>

#include "catalogue/category_view.h"
#include "catalogue/navigation_state.h"
#include "platform/dialogs.h"
#include "platform/settings_store.h"
#include "playback/playback_controller.h"
#include "ui/main_window.h"

namespace cd::mainwindow {

/// The listing kind Live Sports opens.
inline constexpr const char* kSportsListing = "Sports";

/// The adult consent text: four paragraphs, each pair separated by CR LF CR LF.
std::string AdultConsentText();
inline constexpr const char* kAdultConsentTitle = "Adult Material";

/// What navigation asks of the rest of the program.
struct NavigationHooks {
    /// Opens the website window with the request word ("Website", "Sports", "Extras").
    std::function<void(const std::string& request)> openWebsite;
    /// Opens the video tab (the video site's own handler).
    std::function<void()> openVideoTab;
    /// In editor mode, a channel click first fills the editor's fields.
    std::function<void()> editorSelectRow;
};

class Navigation {
public:
    Navigation(ui::MainWindow& form, catalogue::NavigationState& state, catalogue::CategoryView& categoryView,
               platform::SettingsStore& settings, platform::Dialogs& dialogs, playback::PlaybackController& playback,
               NavigationHooks hooks);

    void showTv() { switchCategory("TV"); }
    void showRadio() { switchCategory("Radio"); }
    void showVideo() { switchCategory("Video"); }
    void showFavourites();
    void showMyFiles();
    /// Live Sports: the video tab with the "Sports" listing.
    void openSports();
    /// Extras: the website, as the website button opens it.
    void openExtras();
    /// Asks for consent on every press; only OK switches to the adult category.
    void showAdultAfterConsent();
    void openVideoSite();
    void openWebsite();
    /// The Categories menu: entry i does exactly what its button does.
    void chooseCategoryMenuItem(int index);

    /// Shows the channel panel and player, sets the category and its saved
    /// language, and refills the channel list.
    void switchCategory(const std::string& category);

    /// Hands the selected channel to the playback controller, which probes
    /// it and plays it or shows it offline. Does nothing when no row is
    /// selected.
    void playSelectedChannel();

private:
    void showOnly(ui::Control* frame);

    ui::MainWindow& form_;
    catalogue::NavigationState& state_;
    catalogue::CategoryView& categoryView_;
    platform::SettingsStore& settings_;
    platform::Dialogs& dialogs_;
    playback::PlaybackController& playback_;
    NavigationHooks hooks_;
};

}  // namespace cd::mainwindow
