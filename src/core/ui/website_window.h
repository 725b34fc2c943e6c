#pragma once
#include "ui/form.h"
#include "ui/simple_controls.h"

namespace cd::ui {

/// The website window: never shown; it opens the website and unloads.
class WebsiteWindow : public Form {
public:
    WebsiteWindow();
    Timer* openTimer;
};

}  // namespace cd::ui
