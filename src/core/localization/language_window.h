#pragma once
// The language window's logic over the frmLanguage model: listing the
// languages of Localization.txt, applying the one picked to the main window
// and to itself, downloading the newest file from the language server, and
// handing the file to the desktop's editor.
#include <filesystem>
#include <functional>
#include <string>

#include "fetch/fetch.h"
#include "localization/cls_languages.h"
#include "platform/dialogs.h"
#include "platform/settings_store.h"
#include "platform/shell.h"
#include "ui/windows.h"

namespace cd::localization {

/// What the language window works with; every reference must outlive it.
struct LanguageWindowContext {
    ClsLanguages& languages;
    ui::Windows& windows;  // frmLanguage is this window, form1 the main window
    platform::SettingsStore& settings;
    platform::Shell& shell;
    platform::Dialogs& dialogs;
    fetch::HttpFetcher& fetcher;
    std::string languageHost;  // the language server, "host" or "host:port"
    int productNumber = 26;
    std::string appTitle;  // the default title of message boxes
    bool skinning = false;
    /// Applies the skin to a window; called on load only when skinning is set.
    std::function<void(ui::Form&)> applySkin;
};

class LanguageWindow {
public:
    explicit LanguageWindow(LanguageWindowContext context);

    /// Translates the window, sets its caption, fills the language list and
    /// skins the window when skinning is on.
    void Form_Load();
    /// Refills Combo1 with the language names of Localization.txt in file
    /// order and shows the saved language name. A group without its closing
    /// tag or its name pair ends the list there.
    void FillLanguageList();
    /// Stores the picked language and applies it to the main window and to
    /// this window; the prompt text "Choose Language Here" is ignored.
    void Combo1_Click();
    /// Downloads the newest Localization.txt and, when it holds translation
    /// items, replaces the file, refills the list and says so. A failed save
    /// keeps the old file and says that instead.
    void Command1_Click();
    /// Unloads the window.
    void Command2_Click();
    /// Opens Localization.txt with the desktop's default program, when it exists.
    void Command3_Click();

    /// The address Command1 downloads from.
    std::string downloadAddress() const;

private:
    ui::FrmLanguage& form() { return ctx_.windows.frmLanguage; }
    bool fileExists() const;

    LanguageWindowContext ctx_;
};

}  // namespace cd::localization
