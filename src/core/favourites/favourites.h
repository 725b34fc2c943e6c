#pragma once
// The favourites list of the "Favorites" panel: the file it mirrors, adding
// and rating channels from the channel list, removing, and playing a
// favourite (a channel through the player, a video through the video page).
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "favourites/favourites_file_layout.h"
#include "fetch/report.h"
#include "platform/dialogs.h"
#include "ui/main_window.h"

namespace cd::favourites {

/// Shows a video in the video page: title, then the video's identifier.
using ShowVideoPage = std::function<void(const std::string& title, const std::string& id)>;
/// Plays a channel favourite the way a channel click does: name, address,
/// and the value its OFFLINE report carries.
using PlayChannel =
    std::function<void(const std::string& name, const std::string& address, const std::string& reportValue)>;

class Favourites {
public:
    /// form: the main window (channelList, favouritesList, favouriteSearch, dontLoadWhileEditingCheck,
    /// offlinePicture, player, videoPage). programFolder holds Favorites.txt.
    /// appTitle titles the message box of a failed encryptAndSaveButton.
    Favourites(ui::MainWindow& form, std::filesystem::path programFolder, PlayChannel playChannel,
               fetch::Reporter& reporter, platform::Dialogs& dialogs, std::string appTitle,
               ShowVideoPage showVideoPage);

    /// Appends the rows of Favorites.txt to favouritesList; nothing when the file
    /// is missing or unreadable. What the file holds beyond the rows is kept
    /// for the saves (favourites_file_layout.h).
    void LoadFavorites();
    /// Replaces Favorites.txt with every row of favouritesList (the rows a
    /// search hides too), first row first, keeping the
    /// lines and fields the load did not turn into rows. A failure leaves
    /// the old file whole and tells the user in a message box; returns
    /// false then.
    bool SaveFavorites();

    /// "Favorites" adds the selected channel of channelList and reports it;
    /// "Rate5" to "Rate1" report a rating. Any other word, or no selected
    /// channel, does nothing.
    void applyChannelAction(const std::string& word);
    /// An entry of the channel actions menu: 0 adds, 2 to 6 rate 5 to 1.
    void chooseChannelAction(int index);

    /// "Remove from Favorites": removes the selected favourite, if any, and
    /// saves in any case.
    void removeSelectedFavourite();
    /// A click on a favourite: plays it as a video, or as a channel (probe,
    /// then play, or offline and report, with the value "\"").
    void playSelectedFavourite();

    /// The text of favouriteSearch changed: favouritesList shows the
    /// favourites whose names hold it (letter case and accents ignored), all
    /// of them when it is empty. The others are hidden, not removed: every
    /// save writes them, and the export of the shown list leaves them out.
    /// Esc in the field empties it.
    void search();

    /// Appends a video favourite (empty category and type) and saves.
    void addVideoFavourite(const std::string& title, const std::string& id);

    const std::filesystem::path& file() const { return file_; }

private:
    void addFavourite(const std::string& name, const std::string& address, const std::string& category,
                      const std::string& type);

    ui::MainWindow& form_;
    std::filesystem::path file_;
    PlayChannel playChannel_;
    fetch::Reporter& reporter_;
    platform::Dialogs& dialogs_;
    std::string appTitle_;
    ShowVideoPage showVideoPage_;
    FavouritesFileLayout layout_;
};

/// The video identifier of a favourite's address: the text after its first
/// "=" up to the next "=" or the end.
std::string VideoIdOfAddress(const std::string& address);

}  // namespace cd::favourites
