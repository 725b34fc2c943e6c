#include "ui/frm_splash.h"

#include <memory>

namespace cd::ui {

FrmSplash::FrmSplash() : Form("frmSplash", "ChannelDeck") {
    resize(6000, 3600);
    skn = &addPlain("Skin", "skn", "", {}, {}, std::nullopt, false);
    Image1 = &addPlain("Image", "Image1", "", {}, {0, 0, 6000, 2880});
    Label3 = &addPlain("Label", "Label3", "Television, radio and video from around the world", {},
                       {120, 3000, 5760, 315});
    Timer2 = &add(std::make_unique<Timer>("Timer2", 2, false));
}

}  // namespace cd::ui
