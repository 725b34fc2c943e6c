// The presentation windows over the real machine-wide settings store, joined
// the way start-up joins them.
#include <gtest/gtest.h>

#include "platform/memory_settings_store.h"
#include "presentation/help_viewer.h"
#include "presentation/machine_store.h"
#include "presentation/splash.h"
#include "registry/cls_registry_access.h"
#include "registry/machine_settings.h"
#include "registry/registry_store.h"
#include "support/fakes.h"
#include "support/temp_dir.h"
#include "ui/help_window.h"
#include "ui/splash_window.h"

namespace cd::presentation {
namespace {

std::filesystem::path made(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    return folder;
}

platform::VersionInfo brand() {
    platform::VersionInfo v;
    v.productName = "ChannelDeck";
    v.companyName = "Quenmark Software";
    return v;
}

struct RealMachineStore {
    explicit RealMachineStore(const std::filesystem::path& folder) : store(made(folder)), registry(store) {}
    registry::RegistryStore store;
    registry::ClsRegistryAccess registry;
    platform::MemorySettingsStore user;
    cd::test::FakeDialogs dialogs;
    registry::MachineSettings settings{registry, brand(), user, dialogs};
    MachineStoreAdapter<registry::MachineSettings> machine{settings};
};

// Catches the help window's "showHelp" not reaching the machine-wide store through the adapter.
TEST(MachineStoreAdapter, HelpWindowWritesShowHelpIntoTheRegistryStore) {
    cd::test::TempDir dir;
    dir.write("Help.html", "<html></html>");
    RealMachineStore real(dir.path() / "registry");
    ui::HelpWindow form;
    cd::test::FakeShell shell;
    HelpViewer(form, dir.path(), shell, real.machine).load();
    EXPECT_EQ(real.settings.get("showHelp", "1"), "0");
    EXPECT_TRUE(real.dialogs.shown.empty());
}

// Catches the splash reading "chkSplash" from anywhere but the machine-wide store.
TEST(MachineStoreAdapter, SplashReadsChkSplashFromTheRegistryStore) {
    cd::test::TempDir dir;
    RealMachineStore real(dir.path() / "registry");
    ASSERT_TRUE(real.settings.set("chkSplash", "1"));
    ui::SplashWindow form;
    ProgramValues program;
    const auto config = platform::Configuration::defaults();
    Splash splash(form, real.machine, program, config, nullptr, [] {});
    splash.load();
    EXPECT_FALSE(form.visible());
}

}  // namespace
}  // namespace cd::presentation
