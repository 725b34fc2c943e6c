#include "ui/website_window.h"

#include <memory>

namespace cd::ui {

WebsiteWindow::WebsiteWindow() : Form("frmWebsite", "Website") {
    openTimer = &add(std::make_unique<Timer>("Timer1", 1000, true));
}

}  // namespace cd::ui
