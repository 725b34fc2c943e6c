#include "ui/about_window.h"

#include "ui/stored_names.h"

namespace cd::ui {

AboutWindow::AboutWindow() : Form(storedWindowName("aboutWindow"), "About") {
    const auto n = [this](std::string_view role) { return storedControlName(name(), role); };
    resize(6300, 3900);
    productLabel = &addPlain("SkinLabel", n("productLabel"), "YourProgramName", {}, {1680, 240, 4300, 480});
    versionValue = &addPlain("SkinLabel", n("versionValue"), "Version", {}, {2880, 960, 3100, 255});
    companyValue = &addPlain("SkinLabel", n("companyValue"), "Version", {}, {2880, 1320, 3100, 255});
    websiteValue = &addPlain("SkinLabel", n("websiteValue"), "Version", {}, {2880, 1680, 3100, 255});
    versionLabel = &addPlain("Label", n("versionLabel"), "Version:", {}, {1680, 960, 1100, 255});
    ownerLabel = &addPlain("Label", n("ownerLabel"), "Owned By:", {}, {1680, 1320, 1100, 255});
    websiteLabel = &addPlain("Label", n("websiteLabel"), "Website:", {}, {1680, 1680, 1100, 255});
    copyrightLabel = &addPlain("Label", n("copyrightLabel"),
                               "ChannelDeck and its source code are the property of the ChannelDeck developers. "
                               "All rights reserved.",
                               {}, {240, 2280, 5760, 975});
    picture = &addPlain("PictureBox", n("picture"), "", {}, {240, 240, 1215, 1215});
    skinLabel = &addPlain("SkinLabel", n("skinLabel"), "Windowed Label", {}, {0, 0, 0, 0}, 0, false);
}

}  // namespace cd::ui
