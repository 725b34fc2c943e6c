#pragma once
#include "ui/form.h"

namespace cd::ui {

/// The about window.
class AboutWindow : public Form {
public:
    AboutWindow();
    Control* productLabel;
    Control* versionValue;
    Control* companyValue;
    Control* websiteValue;
    Control* versionLabel;
    Control* ownerLabel;
    Control* websiteLabel;
    Control* copyrightLabel;
    Control* picture;
    Control* skinLabel;  // first member of the skin label array
};

}  // namespace cd::ui
