#include "ui/language_window.h"

#include <memory>

#include "ui/stored_names.h"

namespace cd::ui {

LanguageWindow::LanguageWindow() : Form(storedWindowName("languageWindow"), "Language Selection") {
    const auto n = [this](std::string_view role) { return storedControlName(name(), role); };
    resize(5400, 2700);
    translateButton =
        &addPlain("CommandButton", n("translateButton"), "Translate this program", {}, {120, 1560, 2400, 495});
    okButton = &addPlain("CommandButton", n("okButton"), "OK", {}, {3960, 1560, 1095, 495});
    setDefaultButton(okButton);
    checkUpdatesButton =
        &addPlain("CommandButton", n("checkUpdatesButton"), "Check for language updates", {}, {120, 960, 4935, 435});
    languageBox = &place(std::make_unique<ComboBox>(n("languageBox")), {}, {120, 480, 4935, 315});
    languageBox->setText("Choose Language Here");
    promptLabel = &addPlain("SkinLabel", n("promptLabel"), "Please select the language you would like to use:", {},
                            {120, 120, 4935, 255});
    downloadStatus = &addPlain("StatusLine", n("downloadStatus"), "", {}, {120, 2130, 4935, 255});
}

}  // namespace cd::ui
