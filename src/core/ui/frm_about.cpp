#include "ui/frm_about.h"

namespace cd::ui {

FrmAbout::FrmAbout() : Form("frmAbout", "About") {
    resize(6300, 3900);
    Label1 = &addPlain("SkinLabel", "Label1", "YourProgramName", {}, {1680, 240, 4300, 480});
    lblVersion = &addPlain("SkinLabel", "lblVersion", "Version", {}, {2880, 960, 3100, 255});
    lblCompany = &addPlain("SkinLabel", "lblCompany", "Version", {}, {2880, 1320, 3100, 255});
    lblWebsite = &addPlain("SkinLabel", "lblWebsite", "Version", {}, {2880, 1680, 3100, 255});
    Label2 = &addPlain("Label", "Label2", "Version:", {}, {1680, 960, 1100, 255});
    Label3 = &addPlain("Label", "Label3", "Owned By:", {}, {1680, 1320, 1100, 255});
    Label4 = &addPlain("Label", "Label4", "Website:", {}, {1680, 1680, 1100, 255});
    Label5 = &addPlain("Label", "Label5",
                       "ChannelDeck and its source code are the property of the ChannelDeck developers. "
                       "All rights reserved.",
                       {}, {240, 2280, 5760, 975});
    Picture1 = &addPlain("PictureBox", "Picture1", "", {}, {240, 240, 1215, 1215});
    SkinLabel1 = &addPlain("SkinLabel", "SkinLabel1", "Windowed Label", {}, {0, 0, 0, 0}, 0, false);
}

}  // namespace cd::ui
