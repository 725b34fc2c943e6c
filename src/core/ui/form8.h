#pragma once
#include "ui/form.h"

namespace cd::ui {

/// The help window: no controls; it gives the help viewer a parent.
class Form8 : public Form {
public:
    Form8();
};

}  // namespace cd::ui
