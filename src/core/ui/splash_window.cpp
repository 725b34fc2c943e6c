#include "ui/splash_window.h"

#include <memory>

namespace cd::ui {

SplashWindow::SplashWindow() : Form("frmSplash", "ChannelDeck") {
    resize(6000, 3600);
    skinHolder = &addPlain("Skin", "skn", "", {}, {}, std::nullopt, false);
    picture = &addPlain("Image", "Image1", "", {}, {0, 0, 6000, 2880});
    tagline = &addPlain("Label", "Label3", "Television, radio and video from around the world", {},
                       {120, 3000, 5760, 315});
    startTimer = &add(std::make_unique<Timer>("Timer2", 2, false));
}

}  // namespace cd::ui
