#pragma once
#include "ui/form.h"

namespace cd::ui {

/// The about window.
class FrmAbout : public Form {
public:
    FrmAbout();
    Control* Label1;
    Control* lblVersion;
    Control* lblCompany;
    Control* lblWebsite;
    Control* Label2;
    Control* Label3;
    Control* Label4;
    Control* Label5;
    Control* Picture1;
    Control* SkinLabel1;  // first member of the skin label array
};

}  // namespace cd::ui
