#pragma once
// The splash window, the program's first window: it sets the brand values,
// shows itself for 75 ticks of its 2 ms timer (unless the machine-wide
// "chkSplash" says not to) and then opens the main window. It is hidden, not
// unloaded, afterwards: its skin holder stays the skin object of the run.
#include <cstdint>
#include <functional>

#include "platform/configuration.h"
#include "presentation/machine_store.h"
#include "presentation/program_values.h"
#include "presentation/skin_object.h"
#include "ui/splash_window.h"

namespace cd::presentation {

/// The counter value at which the splash ends: 75 ticks of 2.
inline constexpr std::int16_t kSplashEndCount = 150;

class Splash {
public:
    /// skinHolder is the splash's skin holder (null when the shell has none);
    /// showMainWindow loads and shows MainWindow; regions may be null.
    Splash(ui::SplashWindow& form, MachineStore& machine, ProgramValues& program, const platform::Configuration& config,
           SkinObject* skn, std::function<void()> showMainWindow, WindowRegions* regions = nullptr);

    /// Load: shows the window unless "chkSplash" is "1", sets the brand
    /// values, skins the window when skinning is on, starts startTimer.
    void load();
    /// startTimer: adds 2 to the counter; on reaching 150 stops the timer, opens
    /// the main window and hides the splash. Ticks after that are ignored.
    void tick();

    std::int16_t intTemp() const { return intTemp_; }

private:
    ui::SplashWindow& form_;
    MachineStore& machine_;
    ProgramValues& program_;
    const platform::Configuration& config_;
    SkinObject* skn_;
    std::function<void()> showMainWindow_;
    WindowRegions* regions_;
    std::int16_t intTemp_ = 0;
};

}  // namespace cd::presentation
