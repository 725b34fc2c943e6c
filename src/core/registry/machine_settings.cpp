#include "registry/machine_settings.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/dialogs.h"
#include "platform/settings_store.h"
#include "registry/cls_registry_access.h"
#include "util/text.h"

namespace cd::registry {

namespace {

constexpr const char* kIgnoreKey = "IgnorePermissionDeniedError";

std::string envOrEmpty(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

}  // namespace

std::filesystem::path defaultRegistryDir() {
    if (auto dir = envOrEmpty("CHANNELDECK_REGISTRY_DIR"); !dir.empty()) return dir;
    // The base directory rules ask to ignore a relative XDG_DATA_HOME.
    if (auto xdg = envOrEmpty("XDG_DATA_HOME"); !xdg.empty() && xdg.front() == '/')
        return std::filesystem::path(xdg) / "channeldeck" / "registry";
    std::string home = envOrEmpty("HOME");
    if (home.empty()) {
        if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) home = pw->pw_dir;
    }
    if (home.empty()) return {};
    return std::filesystem::path(home) / ".local" / "share" / "channeldeck" / "registry";
}

MachineSettings::MachineSettings(ClsRegistryAccess& registry, platform::VersionInfo version,
                                 platform::SettingsStore& userSettings, platform::Dialogs& dialogs)
    : registry_(registry), version_(std::move(version)), userSettings_(userSettings), dialogs_(dialogs) {
    keyPath_ = "HKEY_LOCAL_MACHINE\\SOFTWARE\\" + std::string(util::trimSpaces(version_.companyName)) + "\\" +
               std::string(util::trimSpaces(version_.productName)) + "\\Settings";
}

std::string MachineSettings::permissionDeniedText(const std::string& productName) {
    return productName +
           " requires read/write access to the system registry and hard drive in order to run properly.  This user "
           "account does not have the proper permissions set.  As a result some or all of your settings may not be "
           "properly saved.  Please contact your system administrator or change the permission settings for this "
           "account.\r\n\r\nIf you would like to prevent this error message from being displayed again, please "
           "press 'Ignore'.";
}

std::string MachineSettings::get(const std::string& key, const std::string& fallback) {
    return registry_.ReadString(keyPath_, key, fallback);
}

bool MachineSettings::set(const std::string& key, const std::string& value) {
    for (;;) {
        // The key is created here whatever the shared registry object's
        // CreateKeyIfDoesntExists says: settings must land somewhere.
        if (registry_.CreateKey(keyPath_) != 0 && registry_.WriteString(keyPath_, key, value) != 0) return true;
        if (userSettings_.get(kIgnoreKey, "") == "1") return false;
        const auto answer = dialogs_.messageBox(permissionDeniedText(version_.productName), "Permission Denied",
                                                platform::Buttons::AbortRetryIgnore);
        if (answer == platform::Answer::Retry) continue;
        if (answer == platform::Answer::Ignore) userSettings_.set(kIgnoreKey, "1");
        return false;
    }
}

}  // namespace cd::registry
