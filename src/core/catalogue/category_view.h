#pragma once
// The category view: channelList filled with the channels of the current
// category that broadcast in the current language, and the language box
// languageBox rebuilt from the languages that occur in the category.
#include <filesystem>
#include <string>

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

    /// Reads the catalogue from the top and refills channelList with the records
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

    /// The catalogue file read (Data.txt in the program's folder unless set).
    const std::filesystem::path& catalogueFile() const { return catalogueFile_; }
    /// Reads another catalogue file, for the command-line tool.
    void setCatalogueFile(std::filesystem::path file) { catalogueFile_ = std::move(file); }

private:
    void showNotFound();

    ui::MainWindow& form_;
    NavigationState& state_;
    platform::SettingsStore& settings_;
    platform::Dialogs& dialogs_;
    const localization::MessageTable& messages_;
    std::filesystem::path catalogueFile_;
    std::string appTitle_;
};

}  // namespace cd::catalogue
