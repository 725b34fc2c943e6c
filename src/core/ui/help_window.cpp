#include "ui/help_window.h"

namespace cd::ui {

HelpWindow::HelpWindow() : Form("Form8", "Help") {}

}  // namespace cd::ui
