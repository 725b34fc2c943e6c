#pragma once
// The language window's logic over the frmLanguage model: listing the
// languages of Localization.txt, applying the one picked to the main window
// and to itself, downloading the newest file from the language server, and
// handing the file to the desktop's editor.
#include <filesystem>
#include <functional>
#include <string>

#include "fetch/fetcher.h"
#include "localization/cls_languages.h"
#include "platform/dialogs.h"
#include "platform/settings_store.h"
#include "platform/shell.h"
#include "ui/windows.h"
#include "util/task.h"

namespace cd::localization {

/// What the language window works with; every reference must outlive it.
struct LanguagePickerContext {
    ClsLanguages& languages;
    ui::Windows& windows;  // frmLanguage is this window, form1 the main window
    platform::SettingsStore& settings;
    platform::Shell& shell;
    platform::Dialogs& dialogs;
    fetch::Fetcher& fetcher;
    std::string languageHost;  // the language server, "host" or "host:port"
    int productNumber = 26;
    std::string appTitle;  // the default title of message boxes
    bool skinning = false;
    /// Applies the skin to a window; called on load only when skinning is set.
    std::function<void(ui::Form&)> applySkin;
};

class LanguagePicker {
public:
    explicit LanguagePicker(LanguagePickerContext context);

    /// Translates the window, sets its caption, fills the language list and
    /// skins the window when skinning is on.
    void load();
    /// Refills languageBox with the language names of Localization.txt in file
    /// order and shows the saved language name. A group without its closing
    /// tag or its name pair ends the list there.
    void FillLanguageList();
    /// Stores the picked language and applies it to the main window and to
    /// this window; the prompt text "Choose Language Here" is ignored.
    void chooseLanguage();
    /// Starts the download of the newest Localization.txt, its progress
    /// shown in the window. Only a file that arrived whole, within 8 MiB,
    /// and holds at least one language replaces the old one; the list is
    /// then refilled and the user told. Anything else keeps the old file
    /// and tells the user why. Pressing again starts over.
    void checkForUpdates();
    /// Unloads the window; a download still on its way is given up.
    void close();
    /// True while the download is on its way.
    bool downloading() const { return download_.running(); }
    /// Opens Localization.txt with the desktop's default program, when it exists.
    void openFileForTranslation();

    /// The address checkUpdatesButton downloads from.
    std::string downloadAddress() const;

private:
    ui::LanguageWindow& form() { return ctx_.windows.languageWindow; }
    bool fileExists() const;
    util::Task<> downloadLanguages();
    void tellUser(const std::string& text);

    LanguagePickerContext ctx_;
    util::TaskSlot download_;
};

}  // namespace cd::localization
