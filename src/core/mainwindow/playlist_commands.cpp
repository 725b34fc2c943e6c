#include "mainwindow/playlist_commands.h"

#include <vector>

#include "formats/m3u_playlist.h"
#include "formats/playlist_import.h"
#include "localization/fetch_error_text.h"
#include "util/files.h"
#include "util/text.h"

namespace cd::mainwindow {

PlaylistCommands::PlaylistCommands(ui::MainWindow& form, catalogue::NavigationState& state,
                                   catalogue::CategoryView& categories, platform::Dialogs& dialogs,
                                   fetch::Fetcher& fetcher, const localization::MessageTable& messages,
                                   std::filesystem::path programFolder, std::string appTitle)
    : form_(form),
      state_(state),
      categories_(categories),
      dialogs_(dialogs),
      fetcher_(fetcher),
      messages_(messages),
      folder_(std::move(programFolder)),
      appTitle_(std::move(appTitle)) {
    form_.importPlaylistItem->clicked.connect([this] { importPlaylist(); });
    form_.exportChannelsItem->clicked.connect([this] { exportChannels(); });
    form_.exportFavouritesItem->clicked.connect([this] { exportFavourites(); });
}

void PlaylistCommands::tellUser(const std::string& text) {
    dialogs_.messageBox(text, appTitle_, platform::Buttons::OK);
}

void PlaylistCommands::importPlaylist() {
    const auto source = dialogs_.askPlaylistSource(messages_.getMessages("MSG_PLAYLIST_IMPORT_TITLE"));
    if (!source) return;
    if (fetch::isWebAddress(*source)) {
        download_.start(fetchAndImport(*source));
        return;
    }
    // A file: read whole, within the same cap as a download.
    std::error_code ec;
    const auto size = std::filesystem::file_size(*source, ec);
    if (!ec && size > kPlaylistCap) {
        tellUser(util::fillPlaceholders(messages_.getMessages("MSG_PLAYLIST_NOTIMPORTED"),
                                        {messages_.fragment("MSG_REASON_TOOLARGE")}));
        return;
    }
    const auto bytes = util::readFile(*source);
    if (!bytes) {
        tellUser(util::fillPlaceholders(messages_.getMessages("MSG_PLAYLIST_NOTIMPORTED"),
                                        {messages_.fragment("MSG_REASON_UNREADABLE")}));
        return;
    }
    importBytes(*bytes);
}

util::Task<> PlaylistCommands::fetchAndImport(std::string address) {
    fetch::FetchRequest request;
    request.address = std::move(address);
    request.bounds = fetch::watchedBounds(kPlaylistCap);
    fetch::FetchResult result = co_await fetch::fetchAsync(fetcher_, std::move(request));
    if (!result.whole || result.head.status >= 400) {
        std::string reason;
        if (result.whole)
            reason = util::fillPlaceholders(messages_.fragment("MSG_REASON_HTTPERROR"),
                                            {std::to_string(result.head.status)});
        else
            reason = localization::fetchErrorText(
                messages_, result.error == fetch::FetchError::None ? fetch::FetchError::Broken : result.error);
        tellUser(util::fillPlaceholders(messages_.getMessages("MSG_PLAYLIST_NOTIMPORTED"), {reason}));
        co_return;
    }
    importBytes(result.body);
}

void PlaylistCommands::importBytes(const std::string& playlist) {
    formats::ImportOptions options;
    // Entries whose group names no category join the one the user looks at.
    for (const char* c : {"TV", "Radio", "Video", "XXX"})
        if (state_.currentCategory == c) options.category = c;
    options.alreadyThere = folder_ / "Data.txt";
    const formats::ImportResult result = formats::importPlaylist(playlist, folder_ / "Imported.txt", options);
    if (!result.ok) {
        tellUser(util::fillPlaceholders(messages_.getMessages("MSG_PLAYLIST_NOTIMPORTED"), {result.error}));
        return;
    }
    if (!result.added.empty()) {
        // New languages may have come with the channels.
        state_.languageRefresh = true;
        categories_.LoadCategory();
    }
    tellUser(util::fillPlaceholders(messages_.getMessages("MSG_PLAYLIST_IMPORTED"), {formats::describe(result)}));
}

void PlaylistCommands::exportList(const ui::ListView& list, const std::string& suggestedName, bool everyRow) {
    const auto target = dialogs_.askPlaylistTarget(messages_.getMessages("MSG_PLAYLIST_EXPORT_TITLE"), suggestedName);
    if (!target) return;
    const int rows = everyRow ? list.allCount() : list.count();
    std::vector<formats::Channel> channels;
    channels.reserve(static_cast<std::size_t>(rows));
    for (int i = 0; i < rows; ++i) {
        if (everyRow) {
            const ui::ListItem row = list.allItem(i);
            channels.push_back(formats::Channel{row.text, row.tag, row.subItem(1), row.subItem(2)});
        } else {
            channels.push_back(formats::Channel{std::string(list.text(i)), list.tag(i), std::string(list.column(i, 1)),
                                                std::string(list.column(i, 2))});
        }
    }
    std::string error;
    if (!util::writeFileAtomic(*target, formats::writeM3u(channels), &error)) {
        tellUser(util::fillPlaceholders(messages_.getMessages("MSG_PLAYLIST_NOTEXPORTED"), {error}));
        return;
    }
    tellUser(util::fillPlaceholders(messages_.getMessages("MSG_PLAYLIST_EXPORTED"),
                                    {std::to_string(channels.size()), target->string()}));
}

}  // namespace cd::mainwindow
