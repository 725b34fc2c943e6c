#include "presentation/help_viewer.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "presentation/menu_items.h"
#include "presentation/presentation_fakes.h"
#include "support/fakes.h"
#include "support/temp_dir.h"
#include "ui/windows.h"

namespace cd::presentation {
namespace {

namespace fs = std::filesystem;
using test::FakeMachineStore;

// Catches the help window opening a missing file, or not writing "showHelp" after opening it.
TEST(HelpViewer, OpensTheHelpAndWritesShowHelpOnlyWhenTheFileExists) {
    cd::test::TempDir dir;
    ui::HelpWindow form;
    cd::test::FakeShell shell;
    FakeMachineStore machine;
    HelpViewer help(form, dir.path(), shell, machine);

    help.load();
    EXPECT_TRUE(shell.opened.empty());
    EXPECT_TRUE(machine.writes.empty()) << "without the help file \"showHelp\" is not written";

    dir.write("Help.html", "<html></html>");
    help.load();
    EXPECT_EQ(shell.opened, (std::vector<std::string>{(dir.path() / "Help.html").string()}));
    EXPECT_EQ(machine.writes, (std::vector<std::string>{"showHelp=0"}));
    EXPECT_EQ(machine.values["showHelp"], "0");
}

// Catches the window showing itself or keeping a size: it only parents the help viewer.
TEST(HelpViewer, LoadMakesTheWindowZeroSizedAndInvisible) {
    cd::test::TempDir dir;
    ui::HelpWindow form;
    form.resize(4000, 3000);
    form.setVisible(true);
    cd::test::FakeShell shell;
    FakeMachineStore machine;
    HelpViewer(form, dir.path(), shell, machine).load();
    EXPECT_EQ(form.width(), 0);
    EXPECT_EQ(form.height(), 0);
    EXPECT_FALSE(form.visible());
}

// Catches the opener being handed a name that differs in case from the file on disk.
TEST(HelpViewer, OpensTheFileByItsRealName) {
    cd::test::TempDir dir;
    dir.write("help.HTML", "<html></html>");
    ui::HelpWindow form;
    cd::test::FakeShell shell;
    FakeMachineStore machine;
    HelpViewer help(form, dir.path(), shell, machine);
    const fs::path expected = dir.path() / "help.HTML";
    EXPECT_EQ(help.HelpFilePath(), expected);
    help.load();
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(shell.opened[0], expected.string());
}

// Catches a folder of the help file's name counting as the help.
TEST(HelpViewer, AFolderNamedLikeTheHelpIsNotTheHelp) {
    cd::test::TempDir dir;
    fs::create_directory(dir.path() / "Help.html");
    ui::HelpWindow form;
    cd::test::FakeShell shell;
    FakeMachineStore machine;
    HelpViewer(form, dir.path(), shell, machine).load();
    EXPECT_TRUE(shell.opened.empty());
    EXPECT_TRUE(machine.writes.empty());
}

// Catches a viewer that fails to start changing what is written (the failure is silent).
TEST(HelpViewer, AFailedOpenIsSilent) {
    cd::test::TempDir dir;
    dir.write("Help.html", "x");
    ui::HelpWindow form;
    cd::test::FakeShell shell;
    shell.result = false;
    FakeMachineStore machine;
    HelpViewer(form, dir.path(), shell, machine).load();
    EXPECT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(machine.values["showHelp"], "0");
}

// Catches "View Help" leaving the help window loaded or not letting events run while it is.
TEST(MenuHelpItem, LoadsOpensPumpsOnceAndUnloads) {
    cd::test::TempDir dir;
    dir.write("Help.html", "x");
    ui::Windows windows;
    windows.load(windows.mainWindow);
    cd::test::FakeShell shell;
    FakeMachineStore machine;
    HelpViewer help(windows.helpWindow, dir.path(), shell, machine);
    cd::test::FakeEventPump pump;
    bool loadedDuringPump = false;
    pump.onPump = [&] { loadedDuringPump = windows.isLoaded(windows.helpWindow); };

    openHelpFromMenu(0, HelpWindowHooks(windows, help), pump);
    EXPECT_EQ(pump.calls, 1);
    EXPECT_TRUE(loadedDuringPump);
    EXPECT_FALSE(windows.isLoaded(windows.helpWindow));
    EXPECT_FALSE(windows.helpWindow.visible());
    EXPECT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(machine.values["showHelp"], "0");

    openHelpFromMenu(0, HelpWindowHooks(windows, help), pump);
    EXPECT_EQ(shell.opened.size(), 2u) << "each choice of the item opens the help again";
}

// Catches "View Help" without the file doing anything visible or writing the setting.
TEST(MenuHelpItem, WithoutTheHelpFileNothingHappens) {
    cd::test::TempDir dir;
    ui::Windows windows;
    cd::test::FakeShell shell;
    FakeMachineStore machine;
    HelpViewer help(windows.helpWindow, dir.path(), shell, machine);
    cd::test::FakeEventPump pump;
    openHelpFromMenu(0, HelpWindowHooks(windows, help), pump);
    EXPECT_TRUE(shell.opened.empty());
    EXPECT_FALSE(machine.values.count("showHelp"));
    EXPECT_FALSE(windows.isLoaded(windows.helpWindow));
}

}  // namespace
}  // namespace cd::presentation
