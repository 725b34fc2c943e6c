#include "ui/about_window.h"

namespace cd::ui {

AboutWindow::AboutWindow() : Form("frmAbout", "About") {
    resize(6300, 3900);
    productLabel = &addPlain("SkinLabel", "Label1", "YourProgramName", {}, {1680, 240, 4300, 480});
    versionValue = &addPlain("SkinLabel", "lblVersion", "Version", {}, {2880, 960, 3100, 255});
    companyValue = &addPlain("SkinLabel", "lblCompany", "Version", {}, {2880, 1320, 3100, 255});
    websiteValue = &addPlain("SkinLabel", "lblWebsite", "Version", {}, {2880, 1680, 3100, 255});
    versionLabel = &addPlain("Label", "Label2", "Version:", {}, {1680, 960, 1100, 255});
    ownerLabel = &addPlain("Label", "Label3", "Owned By:", {}, {1680, 1320, 1100, 255});
    websiteLabel = &addPlain("Label", "Label4", "Website:", {}, {1680, 1680, 1100, 255});
    copyrightLabel = &addPlain("Label", "Label5",
                       "ChannelDeck and its source code are the property of the ChannelDeck developers. "
                       "All rights reserved.",
                       {}, {240, 2280, 5760, 975});
    picture = &addPlain("PictureBox", "Picture1", "", {}, {240, 240, 1215, 1215});
    skinLabel = &addPlain("SkinLabel", "SkinLabel1", "Windowed Label", {}, {0, 0, 0, 0}, 0, false);
}

}  // namespace cd::ui
