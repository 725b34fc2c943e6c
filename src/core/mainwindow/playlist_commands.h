#pragma once
// File > Import Playlist… and the two exports: channels the user brings from
// an M3U or PLS playlist (a file, or a web address fetched as a watched
// download) go into the user's own Imported.txt and show in the list at once;
// the channel list as shown, or the favourites, go out as an M3U playlist.
#include <filesystem>
#include <string>

#include "catalogue/category_view.h"
#include "catalogue/navigation_state.h"
#include "fetch/fetcher.h"
#include "localization/message_table.h"
#include "platform/dialogs.h"
#include "ui/list_view.h"
#include "ui/main_window.h"
#include "util/task.h"

namespace cd::mainwindow {

class PlaylistCommands {
public:
    /// The most a fetched or read playlist may hold.
    static constexpr std::size_t kPlaylistCap = 64u << 20;

    PlaylistCommands(ui::MainWindow& form, catalogue::NavigationState& state, catalogue::CategoryView& categories,
                     platform::Dialogs& dialogs, fetch::Fetcher& fetcher, const localization::MessageTable& messages,
                     std::filesystem::path programFolder, std::string appTitle);

    void importPlaylist();
    /// The channel list as shown: a search narrows what goes out.
    void exportChannels() { exportList(*form_.channelList, "Channels.m3u", false); }
    /// Every favourite: the menu works from any panel, where a search left
    /// on the favourites list would not be seen.
    void exportFavourites() { exportList(*form_.favouritesList, "Favorites.m3u", true); }

private:
    util::Task<> fetchAndImport(std::string address);
    void importBytes(const std::string& playlist);
    void exportList(const ui::ListView& list, const std::string& suggestedName, bool everyRow);
    void tellUser(const std::string& text);

    ui::MainWindow& form_;
    catalogue::NavigationState& state_;
    catalogue::CategoryView& categories_;
    platform::Dialogs& dialogs_;
    fetch::Fetcher& fetcher_;
    const localization::MessageTable& messages_;
    std::filesystem::path folder_;
    std::string appTitle_;
    util::TaskSlot download_;
};

}  // namespace cd::mainwindow
