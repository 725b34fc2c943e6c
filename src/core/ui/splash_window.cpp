#include "ui/splash_window.h"

#include <memory>

#include "ui/stored_names.h"

namespace cd::ui {

SplashWindow::SplashWindow() : Form(storedWindowName("splashWindow"), "ChannelDeck") {
    const auto n = [this](std::string_view role) { return storedControlName(name(), role); };
    resize(6000, 3600);
    skinHolder = &addPlain("Skin", n("skinHolder"), "", {}, {}, std::nullopt, false);
    picture = &addPlain("Image", n("picture"), "", {}, {0, 0, 6000, 2880});
    tagline = &addPlain("Label", n("tagline"), "Television, radio and video from around the world", {},
                        {120, 3000, 5760, 315});
    startTimer = &add(std::make_unique<Timer>(n("startTimer"), 2, false));
}

}  // namespace cd::ui
