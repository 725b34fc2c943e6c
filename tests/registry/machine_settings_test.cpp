#include "registry/machine_settings.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <functional>

#include "platform/memory_settings_store.h"
#include "registry/cls_registry_access.h"
#include "support/fakes.h"
#include "support/temp_dir.h"

namespace cd::registry {
namespace {

platform::VersionInfo brand() {
    platform::VersionInfo v;
    v.productName = "ChannelDeck";
    v.companyName = "  Quenmark Software ";
    return v;
}

/// Answers as the test says and may change the world before answering.
class ScriptedDialogs : public platform::Dialogs {
public:
    platform::Answer messageBox(const std::string& text, const std::string& title, platform::Buttons buttons) override {
        shown.push_back({text, title, buttons});
        if (beforeAnswer) beforeAnswer();
        return answer;
    }
    std::vector<test::ShownBox> shown;
    platform::Answer answer = platform::Answer::Abort;
    std::function<void()> beforeAnswer;
};

const char* kText =
    "ChannelDeck requires read/write access to the system registry and hard drive in order to run properly.  This "
    "user account does not have the proper permissions set.  As a result some or all of your settings may not be "
    "properly saved.  Please contact your system administrator or change the permission settings for this "
    "account.\r\n\r\nIf you would like to prevent this error message from being displayed again, please press "
    "'Ignore'.";

// Catches an untrimmed or wrongly joined settings key, or writes that need the create flag.
TEST(MachineSettings, ReadsAndWritesUnderTheProductKey) {
    test::TempDir dir;
    RegistryStore store(dir.path());
    ClsRegistryAccess reg(store);
    reg.CreateKeyIfDoesntExists(false);
    platform::MemorySettingsStore user;
    test::FakeDialogs dialogs;
    MachineSettings settings(reg, brand(), user, dialogs);
    EXPECT_EQ(settings.keyPath(), "HKEY_LOCAL_MACHINE\\SOFTWARE\\Quenmark Software\\ChannelDeck\\Settings");
    EXPECT_EQ(settings.get("chkSplash", "0"), "0");
    ASSERT_TRUE(settings.set("showHelp", "0"));
    EXPECT_EQ(settings.get("showHelp", "1"), "0");
    EXPECT_EQ(reg.ReadString("HKLM\\Software\\quenmark software\\ChannelDeck\\Settings", "showHelp", "?"), "0");
    EXPECT_TRUE(dialogs.shown.empty());
}

// Catches a failed write that is silent, shows the wrong text, or retries after Abort.
TEST(MachineSettings, AbortShowsThePermissionDeniedBoxOnce) {
    test::TempDir dir;
    RegistryStore store(dir.path(), StoreAccess::ReadOnly);
    ClsRegistryAccess reg(store);
    platform::MemorySettingsStore user;
    test::FakeDialogs dialogs;
    dialogs.answers = {platform::Answer::Abort};
    MachineSettings settings(reg, brand(), user, dialogs);
    EXPECT_FALSE(settings.set("chkSplash", "1"));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, kText);
    EXPECT_EQ(dialogs.shown[0].title, "Permission Denied");
    EXPECT_EQ(dialogs.shown[0].buttons, platform::Buttons::AbortRetryIgnore);
    EXPECT_FALSE(user.contains("IgnorePermissionDeniedError"));
}

// Catches Retry that gives up instead of writing again once the store is writable.
TEST(MachineSettings, RetryRepeatsTheWriteUntilItSucceeds) {
    test::TempDir dir;
    // A plain file where the folder should be makes every write fail.
    const auto folder = dir.write("registry", "");
    RegistryStore store(folder);
    ClsRegistryAccess reg(store);
    platform::MemorySettingsStore user;
    ScriptedDialogs dialogs;
    dialogs.answer = platform::Answer::Retry;
    dialogs.beforeAnswer = [&] {
        if (dialogs.shown.size() == 2) {
            std::filesystem::remove(folder);
            std::filesystem::create_directory(folder);
        }
    };
    MachineSettings settings(reg, brand(), user, dialogs);
    EXPECT_TRUE(settings.set("chkSplash", "1"));
    EXPECT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(settings.get("chkSplash", "0"), "1");
}

// Catches Ignore that does not remember the choice, or a box shown despite it.
TEST(MachineSettings, IgnoreStoresTheFlagAndSuppressesLaterBoxes) {
    test::TempDir dir;
    RegistryStore store(dir.path(), StoreAccess::ReadOnly);
    ClsRegistryAccess reg(store);
    platform::MemorySettingsStore user;
    test::FakeDialogs dialogs;
    dialogs.answers = {platform::Answer::Ignore};
    MachineSettings settings(reg, brand(), user, dialogs);
    EXPECT_FALSE(settings.set("showHelp", "0"));
    EXPECT_EQ(user.get("IgnorePermissionDeniedError", ""), "1");
    EXPECT_FALSE(settings.set("showHelp", "0"));
    EXPECT_EQ(dialogs.shown.size(), 1u);
}

// Catches a registry folder that ignores the override or the XDG rules.
TEST(MachineSettings, DefaultRegistryDirFollowsTheEnvironment) {
    const char* names[] = {"CHANNELDECK_REGISTRY_DIR", "XDG_DATA_HOME", "HOME"};
    std::vector<std::pair<std::string, std::optional<std::string>>> saved;
    for (const char* n : names) {
        const char* v = ::getenv(n);
        saved.emplace_back(n, v ? std::optional<std::string>(v) : std::nullopt);
    }
    ::setenv("CHANNELDECK_REGISTRY_DIR", "/tmp/reg-here", 1);
    ::setenv("XDG_DATA_HOME", "/xdg", 1);
    ::setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(defaultRegistryDir(), "/tmp/reg-here");
    ::unsetenv("CHANNELDECK_REGISTRY_DIR");
    EXPECT_EQ(defaultRegistryDir(), "/xdg/channeldeck/registry");
    ::setenv("XDG_DATA_HOME", "relative/ignored", 1);
    EXPECT_EQ(defaultRegistryDir(), "/home/someone/.local/share/channeldeck/registry");
    ::unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(defaultRegistryDir(), "/home/someone/.local/share/channeldeck/registry");
    for (const auto& [n, v] : saved) {
        if (v)
            ::setenv(n.c_str(), v->c_str(), 1);
        else
            ::unsetenv(n.c_str());
    }
}

}  // namespace
}  // namespace cd::registry
