#include "ui/help_window.h"

#include "ui/stored_names.h"

namespace cd::ui {

HelpWindow::HelpWindow() : Form(storedWindowName("helpWindow"), "Help") {}

}  // namespace cd::ui
