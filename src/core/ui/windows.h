#pragma once
// Every window of the program, and which of them are loaded, in load order
// (the order the localization writer walks them in).
#include <vector>

#include "ui/about_window.h"
#include "ui/form.h"
#include "ui/help_window.h"
#include "ui/language_window.h"
#include "ui/main_window.h"
#include "ui/splash_window.h"
#include "ui/website_window.h"

namespace cd::ui {

class Windows {
public:
    MainWindow mainWindow;
    LanguageWindow languageWindow;
    SplashWindow splashWindow;
    AboutWindow aboutWindow;
    HelpWindow helpWindow;
    WebsiteWindow websiteWindow;

    /// Marks a window loaded (appended to the load order); loading a loaded
    /// window changes nothing.
    void load(Form& form);
    void unload(Form& form);
    bool isLoaded(const Form& form) const;
    const std::vector<Form*>& loaded() const { return loaded_; }
    /// Loads every window in the program's own start order: what the
    /// command-line generator of the English localization file walks.
    void loadAll();

private:
    std::vector<Form*> loaded_;
};

}  // namespace cd::ui
