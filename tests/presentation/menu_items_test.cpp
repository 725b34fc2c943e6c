#include "presentation/menu_items.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fakes.h"
#include "ui/windows.h"

namespace cd::presentation {
namespace {

WindowHooks recording(std::vector<std::string>& log) {
    return WindowHooks{[&log] { log.push_back("load"); }, [&log] { log.push_back("show"); },
                       [&log] { log.push_back("unload"); }};
}

// Catches a menu item opening its window in the wrong order or unloading a window that must stay.
TEST(MenuItems, EachItemRunsItsSequence) {
    std::vector<std::string> log;
    cd::test::FakeEventPump pump;
    pump.onPump = [&] { log.push_back("pump"); };
    openAboutFromMenu(0, recording(log));
    EXPECT_EQ(log, (std::vector<std::string>{"load", "show"}));
    log.clear();
    openLanguageFromMenu(0, recording(log));
    EXPECT_EQ(log, (std::vector<std::string>{"load", "show"}));
    log.clear();
    openHelpFromMenu(0, recording(log), pump);
    EXPECT_EQ(log, (std::vector<std::string>{"load", "show", "pump", "unload"}));
}

// Catches the index being used (the items are single members of their arrays).
TEST(MenuItems, IndexIsIgnored) {
    std::vector<std::string> log;
    openAboutFromMenu(7, recording(log));
    openLanguageFromMenu(-1, recording(log));
    EXPECT_EQ(log.size(), 4u);
}

// Catches hooks left unwired crashing the handler.
TEST(MenuItems, UnwiredHooksAreSkipped) {
    cd::test::FakeEventPump pump;
    openAboutFromMenu(0, WindowHooks{});
    openHelpFromMenu(0, WindowHooks{}, pump);
    EXPECT_EQ(pump.calls, 1);
}

// Catches the about window's load running again when it is opened a second time while loaded.
TEST(AboutWindowHooks, LoadsOnceShowsEachTime) {
    ui::Windows windows;
    ProgramValues program;
    program.brand.productName = "ChannelDeck";
    AboutBox about(windows.aboutWindow, program);
    const WindowHooks hooks = AboutWindowHooks(windows, about);
    openAboutFromMenu(0, hooks);
    EXPECT_TRUE(windows.isLoaded(windows.aboutWindow));
    EXPECT_TRUE(windows.aboutWindow.visible());
    EXPECT_EQ(windows.aboutWindow.caption(), "About ChannelDeck");

    windows.aboutWindow.setCaption("changed while open");
    windows.aboutWindow.setVisible(false);
    openAboutFromMenu(0, hooks);
    EXPECT_EQ(windows.aboutWindow.caption(), "changed while open");
    EXPECT_TRUE(windows.aboutWindow.visible());

    hooks.unload();
    EXPECT_FALSE(windows.isLoaded(windows.aboutWindow));
    openAboutFromMenu(0, hooks);
    EXPECT_EQ(windows.aboutWindow.caption(), "About ChannelDeck") << "a fresh load fills it again";
}

}  // namespace
}  // namespace cd::presentation
