#pragma once
#include "ui/combo_box.h"
#include "ui/form.h"

namespace cd::ui {

/// The language window.
class FrmLanguage : public Form {
public:
    FrmLanguage();
    Control* Command3;  // "Translate this program"
    Control* Command2;  // "OK"
    Control* Command1;  // "Check for language updates"
    ComboBox* Combo1;
    Control* Label1;          // prompt (a skin label)
    Control* DownloadStatus;  // how the language download goes
};

}  // namespace cd::ui
