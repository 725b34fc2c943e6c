#pragma once
// The main window's Help and Language menu items. Each is a single member of
// a control array and ignores its index. The windows they open are reached
// through hooks the shell wires (WindowsHooks below builds the usual ones).
#include <functional>

#include "platform/event_pump.h"
#include "presentation/about_box.h"
#include "presentation/help_viewer.h"
#include "ui/windows.h"

namespace cd::presentation {

/// Load (runs the window's load handler once per load), show, unload.
struct WindowHooks {
    std::function<void()> load;
    std::function<void()> show;
    std::function<void()> unload;
};

/// "About this software": load the about window and show it, not modal.
void openAboutFromMenu(int index, const WindowHooks& about);
/// "View Help": load the help window, show it, let pending events run once,
/// unload it. The viewer the help window started stays open.
void openHelpFromMenu(int index, const WindowHooks& help, platform::EventPump& pump);
/// "Change Language": load the language window and show it, not modal.
void openLanguageFromMenu(int index, const WindowHooks& language);

/// The help sequence of the menu item; start-up's first-run help runs the same.
void ShowHelpOnce(const WindowHooks& help, platform::EventPump& pump);

/// The about window over the window list: loading an already loaded about
/// window does not run its load again; showing makes it visible.
WindowHooks AboutWindowHooks(ui::Windows& windows, AboutBox& about);
/// The help window over the window list. It stays hidden when shown: it is
/// zero-sized and exists only to parent the help viewer, and a desktop
/// window of no size would still flash a frame.
WindowHooks HelpWindowHooks(ui::Windows& windows, HelpViewer& help);

}  // namespace cd::presentation
