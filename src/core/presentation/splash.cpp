#include "presentation/splash.h"

#include "presentation/skin.h"

namespace cd::presentation {

Splash::Splash(ui::SplashWindow& form, MachineStore& machine, ProgramValues& program,
               const platform::Configuration& config, SkinObject* skn, std::function<void()> showMainWindow,
               WindowRegions* regions)
    : form_(form),
      machine_(machine),
      program_(program),
      config_(config),
      skn_(skn),
      showMainWindow_(std::move(showMainWindow)),
      regions_(regions) {
    form_.startTimer->ticked.connect([this] { tick(); });
}

void Splash::load() {
    // The splash is the program's first window and shows itself, unless the
    // machine is set to start without it; it still runs its timer either way.
    form_.setVisible(machine_.get("chkSplash", "0") != "1");
    SetBrandValues(program_, config_);
    if (program_.brand.skinning) {
        program_.skin = skn_;
        ApplySkin(form_, program_.skin, program_.brand.skinning, regions_);
    }
    form_.startTimer->setEnabled(true);
}

void Splash::tick() {
    // A tick already queued when the timer stopped must not open a second
    // main window.
    if (!form_.startTimer->enabled()) return;
    intTemp_ = static_cast<std::int16_t>(intTemp_ + 2);
    if (intTemp_ != kSplashEndCount) return;
    form_.startTimer->setEnabled(false);
    if (showMainWindow_) showMainWindow_();
    form_.setVisible(false);
}

}  // namespace cd::presentation
