#pragma once
#include "ui/combo_box.h"
#include "ui/form.h"

namespace cd::ui {

/// The language window.
class LanguageWindow : public Form {
public:
    LanguageWindow();
    Control* translateButton;     // "Translate this program"
    Control* okButton;            // "OK"
    Control* checkUpdatesButton;  // "Check for language updates"
    ComboBox* languageBox;
    Control* promptLabel;     // prompt (a skin label)
    Control* downloadStatus;  // how the language download goes
};

}  // namespace cd::ui
