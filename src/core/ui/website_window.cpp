#include "ui/website_window.h"

#include <memory>

#include "ui/stored_names.h"

namespace cd::ui {

WebsiteWindow::WebsiteWindow() : Form(storedWindowName("websiteWindow"), "Website") {
    const auto n = [this](std::string_view role) { return storedControlName(name(), role); };
    openTimer = &add(std::make_unique<Timer>(n("openTimer"), 1000, true));
}

}  // namespace cd::ui
