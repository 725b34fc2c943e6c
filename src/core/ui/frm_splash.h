#pragma once
#include "ui/form.h"
#include "ui/simple_controls.h"

namespace cd::ui {

/// The splash window, the program's first window.
class FrmSplash : public Form {
public:
    FrmSplash();
    Control* skn;     // the skin holder
    Control* Image1;  // splash picture
    Control* Label3;  // promotional line
    Timer* Timer2;
};

}  // namespace cd::ui
