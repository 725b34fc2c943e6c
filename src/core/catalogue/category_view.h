#pragma once
// The category view: channelList filled with the channels of the current
// category that broadcast in the current language, and the language box
// languageBox rebuilt from the languages that occur in the category.
#include <filesystem>
#include <memory>
#include <string>

#include "catalogue/channel_search.h"
#include "catalogue/navigation_state.h"
#include "localization/message_table.h"
#include "platform/dialogs.h"
#include "platform/settings_store.h"
#include "ui/main_window.h"

namespace cd::catalogue {

class CategoryView {
public:
    /// The catalogue is programFolder/Data.txt; appTitle is the title of the
    /// message box shown when it cannot be read.
    CategoryView(ui::MainWindow& form, NavigationState& state, platform::SettingsStore& settings,
                 platform::Dialogs& dialogs, const localization::MessageTable& messages,
                 std::filesystem::path programFolder, std::string appTitle);

    /// Reads the catalogue from the top, then the user's imported channels
    /// (Imported.txt beside it, when there is one), and refills channelList with the records
    /// whose category is exactly the current one and whose languages contain
    /// the current language (ignoring case; "All" lists every record). With
    /// the refresh flag set it also rebuilds languageBox ("All", then the sorted
    /// language names) and clears the flag. A missing catalogue, a record of
    /// the category with fewer than four fields, or a line longer than the
    /// cipher's limit stops it there with the "MSG_NOTFOUND" message; the rows
    /// listed so far stay, and languageBox and the flag are left as they were.
    void LoadCategory();

    /// The user picked a language in languageBox: it becomes the current language,
    /// is stored under the category's key (TVLang, RadioLang, VideoLang; no
    /// key for other categories) and the list is loaded again. The language
    /// box keeps its entries.
    void chooseLanguage();

    /// The text of channelSearch changed: channelList shows the listed
    /// channels whose names hold it (letter case and accents ignored), all of
    /// them when it is empty. Esc in the field empties it.
    void search();

    /// The catalogue file read (Data.txt in the program's folder unless set).
    const std::filesystem::path& catalogueFile() const { return catalogueFile_; }
    /// Reads another catalogue file alone, for the command-line tool.
    void setCatalogueFile(std::filesystem::path file) {
        catalogueFile_ = std::move(file);
        importedFile_.clear();
    }

private:
    void showNotFound();

    ui::MainWindow& form_;
    NavigationState& state_;
    platform::SettingsStore& settings_;
    platform::Dialogs& dialogs_;
    const localization::MessageTable& messages_;
    std::filesystem::path catalogueFile_;
    // The user's own channels (imported playlists), listed after the
    // catalogue's; none when it is missing.
    std::filesystem::path importedFile_;
    std::string appTitle_;
    ChannelSearch search_;
};

}  // namespace cd::catalogue
