#pragma once
// Every window of the program, and which of them are loaded, in load order
// (the order the localization writer walks them in).
#include <vector>

#include "ui/form.h"
#include "ui/form1.h"
#include "ui/form8.h"
#include "ui/frm_about.h"
#include "ui/frm_language.h"
#include "ui/frm_splash.h"
#include "ui/frm_website.h"

namespace cd::ui {

class Windows {
public:
    Form1 form1;
    FrmLanguage frmLanguage;
    FrmSplash frmSplash;
    FrmAbout frmAbout;
    Form8 form8;
    FrmWebsite frmWebsite;

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
