#include "presentation/menu_items.h"

namespace cd::presentation {

namespace {
void run(const std::function<void()>& f) {
    if (f) f();
}
}  // namespace

void openAboutFromMenu(int /*index*/, const WindowHooks& about) {
    run(about.load);
    run(about.show);
}

void ShowHelpOnce(const WindowHooks& help, platform::EventPump& pump) {
    run(help.load);
    run(help.show);
    pump.runPending();
    run(help.unload);
}

void openHelpFromMenu(int /*index*/, const WindowHooks& help, platform::EventPump& pump) { ShowHelpOnce(help, pump); }

void openLanguageFromMenu(int /*index*/, const WindowHooks& language) {
    run(language.load);
    run(language.show);
}

WindowHooks AboutWindowHooks(ui::Windows& windows, AboutBox& about) {
    ui::Form& form = windows.aboutWindow;
    return WindowHooks{
        [&windows, &about, &form] {
            if (windows.isLoaded(form)) return;
            windows.load(form);
            about.load();
        },
        [&form] { form.setVisible(true); },
        [&windows, &form] { windows.unload(form); },
    };
}

WindowHooks HelpWindowHooks(ui::Windows& windows, HelpViewer& help) {
    ui::Form& form = windows.helpWindow;
    return WindowHooks{
        [&windows, &help, &form] {
            if (windows.isLoaded(form)) return;
            windows.load(form);
            help.load();
        },
        [] {},
        [&windows, &form] { windows.unload(form); },
    };
}

}  // namespace cd::presentation
