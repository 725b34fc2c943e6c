#include "ui/frm_language.h"

#include <memory>

namespace cd::ui {

FrmLanguage::FrmLanguage() : Form("frmLanguage", "Language Selection") {
    resize(5400, 2700);
    Command3 = &addPlain("CommandButton", "Command3", "Translate this program", {}, {120, 1560, 2400, 495});
    Command2 = &addPlain("CommandButton", "Command2", "OK", {}, {3960, 1560, 1095, 495});
    Command1 = &addPlain("CommandButton", "Command1", "Check for language updates", {}, {120, 960, 4935, 435});
    Combo1 = &place(std::make_unique<ComboBox>("Combo1"), {}, {120, 480, 4935, 315});
    Combo1->setText("Choose Language Here");
    Label1 = &addPlain("SkinLabel", "Label1", "Please select the language you would like to use:", {},
                       {120, 120, 4935, 255});
    DownloadStatus = &addPlain("StatusLine", "DownloadStatus", "", {}, {120, 2130, 4935, 255});
}

}  // namespace cd::ui
