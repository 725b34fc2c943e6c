#pragma once
// The video tab: opening it, the listing kind and country selectors, the
// search, the page loop that fills the video list, a click on a video, and
// the video actions menu.
#include <filesystem>
#include <functional>
#include <string>

#include "favourites/favourites.h"
#include "fetch/fetcher.h"
#include "formats/page_scraper.h"
#include "platform/configuration.h"
#include "ui/main_window.h"
#include "util/task.h"
#include "videosite/video_page.h"

namespace cd::videosite {

/// Pages fetched for one listing and for one search.
inline constexpr int kListingPages = 5;
inline constexpr int kSearchPages = 10;
/// The current category while the video tab is open.
inline constexpr const char* kVideoCategory = "YOUTUBE";

class VideoSite {
public:
    /// regionCode and currentCategory are the main window's navigation
    /// state, shared with the other tabs; hosts give the listing, search
    /// and player hosts; the scratch file goes into programFolder.
    VideoSite(ui::MainWindow& form, std::string& regionCode, std::string& currentCategory, fetch::Fetcher& fetcher,
              platform::Hosts hosts, std::filesystem::path programFolder, VideoPage& page,
              favourites::Favourites& favourites, std::function<void()> takingScreen = {});

    /// Opens the video tab and loads the chosen listing.
    void openVideoSite();
    /// A listing kind picked from videoKindBox: loads it.
    void chooseListingKind();
    /// An entry picked from videoCountryBox: "SEARCH" shows the search box and
    /// fetches nothing; a country sets the region (an unknown text keeps
    /// it), returns to listing mode and loads the listing.
    void chooseCountry();
    /// The "Search" button: runs the search.
    void search();

    /// Clears the video list and starts filling it from pages 1 to 5 of the
    /// listing videoKindBox names, in the current region, one page after the
    /// other as they arrive. A listing or search started meanwhile
    /// supersedes this one: it stops, adding nothing more.
    void loadVideoListing();
    /// Clears the video list and starts filling it from pages 1 to 10 of the
    /// search for the text of videoSearchText (superseded as a listing is).
    void searchVideos();
    /// The window is closing: a listing or search in progress stops.
    void abandonListings() { listing_.cancel(); }
    /// True while a listing or search is fetching its pages.
    bool loading() const { return listing_.running(); }
    /// Adds the videos of one fetched page to the video list; page is
    /// overwritten with the scraper's working copy.
    void parseVideoPage(std::string& page);

    /// A click on the video list: shows the selected video's page, unless
    /// "Don't Load Video While Editing" is ticked or nothing is selected.
    void showSelectedVideo();
    /// The video actions entry chosen from the pop-up that videoActionsButton opens
    /// (the shell shows videoActionsMenu at the mouse): 0 adds the selected
    /// video to the favourites; any other index does nothing.
    void chooseVideoAction(int index);

private:
    util::Task<> loadPages(std::string base, int pages);

    ui::MainWindow& form_;
    std::string& regionCode_;
    std::string& currentCategory_;
    fetch::Fetcher& fetcher_;
    platform::Hosts hosts_;
    formats::PageScraper scraper_;
    VideoPage& page_;
    favourites::Favourites& favourites_;
    /// Runs before a video page takes the player's place.
    std::function<void()> takingScreen_;
    util::TaskSlot listing_;
};

}  // namespace cd::videosite
