#pragma once
// The one localization object of the program: the message table, the
// translation list of the language loaded last, the current language name,
// and the operations that read Localization.txt, look translations up,
// apply them to a window and write a fresh English file from the captions
// the windows show. The main window creates it once; every window uses it.
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "localization/element_names.h"
#include "localization/message_table.h"
#include "platform/configuration.h"
#include "ui/form.h"
#include "ui/windows.h"

namespace cd::localization {

/// How a LoadLanguage call ended.
enum class LoadResult {
    Loaded,    // the language was found; the translation list was replaced
    NoFile,    // no Localization.txt (or it could not be read)
    NotFound,  // every group was looked at; none has the name
    Broken,    // the walk stopped at a group without its closing tag or its name
               // pair, or the matching group lacks its translation items
};

class ClsLanguages {
public:
    /// brand gives the product name, company name and website address the
    /// placeholders stand for; programFolder holds Localization.txt; windows
    /// are the ones makeLocalizationFile walks.
    ClsLanguages(platform::VersionInfo brand, std::filesystem::path programFolder, ui::Windows& windows);

    /// Adds a message to the first free entry of the table (see MessageTable).
    void setMessage(const std::string& key, const std::string& text);
    /// The message text for key (case ignored), brand placeholders replaced;
    /// "" for a key never added.
    std::string getMessages(const std::string& key) const;

    /// Loads languageName and gives the window's translatable controls, its
    /// caption and every message their translations. Falls back to English
    /// when no usable translation list results. Reports nothing.
    void ChangeLanguage(ui::Form& window, const std::string& languageName);
    /// As ChangeLanguage, for an MDI parent window: control type names are
    /// compared trimmed and in lower case.
    void ChangeLanguageMDI(ui::Form& window, const std::string& languageName);

    /// Always "": the language window lists the languages itself.
    std::string ListLanguages() const;
    /// True when the folder of path holds a file (not a folder) of that name,
    /// letter case ignored; false on any error.
    bool LangFileExists(const std::string& path) const;
    /// The part of path after its last "\"; a path without "\" is cut after
    /// its last "/" instead (the separator of this platform); a path with
    /// neither is returned whole.
    std::string LangTrimPath(const std::string& path) const;

    /// Replaces Localization.txt in the program folder with one "English"
    /// group holding the captions of every loaded window in load order and
    /// every message, as they are now. Written to a temporary file and
    /// renamed, so a failed write keeps the old file. True when written;
    /// the program's own callers ignore the result.
    bool makeLocalizationFile();
    /// The text makeLocalizationFile writes, built from the current captions.
    std::string localizationFileText() const;

    /// Sets the current language name and, when Localization.txt has a group
    /// of that name (case ignored, first group wins), the translation list.
    /// Any other outcome keeps the list as it was.
    LoadResult LoadLanguage(const std::string& languageName);
    /// The translated text of an element of the loaded language, brand
    /// placeholders replaced and its first character raised; "" when the
    /// element is missing, empty or its line lacks the closing tag.
    std::string GetTranslation(const std::string& elementName) const;

    MessageTable& messages() { return messages_; }
    const MessageTable& messages() const { return messages_; }
    /// The language last asked for (start-up sets it from the "Language" setting).
    const std::string& languageName() const { return languageName_; }
    void setLanguageName(std::string name) { languageName_ = std::move(name); }
    /// The lines of the loaded language; nothing before the first successful load.
    const std::optional<std::vector<std::string>>& translationList() const { return translations_; }
    const std::filesystem::path& programFolder() const { return programFolder_; }
    /// Path of Localization.txt in the program folder (an existing file of
    /// that name in any letter case, else the canonical spelling).
    std::filesystem::path localizationFile() const;

private:
    void applyLanguage(ui::Form& window, const std::string& languageName, Translated (*partsOf)(std::string_view));
    void translateCaption(ui::Control& control, const std::string& element) const;

    MessageTable messages_;
    std::optional<std::vector<std::string>> translations_;
    std::string languageName_;
    std::filesystem::path programFolder_;
    ui::Windows& windows_;
};

}  // namespace cd::localization
