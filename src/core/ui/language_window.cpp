#include "ui/language_window.h"

#include <memory>

namespace cd::ui {

LanguageWindow::LanguageWindow() : Form("frmLanguage", "Language Selection") {
    resize(5400, 2700);
    translateButton = &addPlain("CommandButton", "Command3", "Translate this program", {}, {120, 1560, 2400, 495});
    okButton = &addPlain("CommandButton", "Command2", "OK", {}, {3960, 1560, 1095, 495});
    checkUpdatesButton = &addPlain("CommandButton", "Command1", "Check for language updates", {}, {120, 960, 4935, 435});
    languageBox = &place(std::make_unique<ComboBox>("Combo1"), {}, {120, 480, 4935, 315});
    languageBox->setText("Choose Language Here");
    promptLabel = &addPlain("SkinLabel", "Label1", "Please select the language you would like to use:", {},
                       {120, 120, 4935, 255});
    downloadStatus = &addPlain("StatusLine", "DownloadStatus", "", {}, {120, 2130, 4935, 255});
}

}  // namespace cd::ui
