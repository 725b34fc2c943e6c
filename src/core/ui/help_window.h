#pragma once
#include "ui/form.h"

namespace cd::ui {

/// The help window: no controls; it gives the help viewer a parent.
class HelpWindow : public Form {
public:
    HelpWindow();
};

}  // namespace cd::ui
