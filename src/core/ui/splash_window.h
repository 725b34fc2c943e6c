#pragma once
#include "ui/form.h"
#include "ui/simple_controls.h"

namespace cd::ui {

/// The splash window, the program's first window.
class SplashWindow : public Form {
public:
    SplashWindow();
    Control* skinHolder;  // the skin holder
    Control* picture;     // splash picture
    Control* tagline;     // promotional line
    Timer* startTimer;
};

}  // namespace cd::ui
