#pragma once
// The machine-wide settings store: string values under
// HKEY_LOCAL_MACHINE\SOFTWARE\<company>\<product>\Settings in the registry
// layer. A failed write asks the user what to do, unless the user asked
// never to be told again.
#include <filesystem>
#include <string>

#include "platform/configuration.h"

namespace cd::platform {
class Dialogs;
class SettingsStore;
}  // namespace cd::platform

namespace cd::registry {

class ClsRegistryAccess;

/// Where the registry files live: $CHANNELDECK_REGISTRY_DIR when set, else
/// $XDG_DATA_HOME/channeldeck/registry, else ~/.local/share/channeldeck/registry.
/// The folder is made by the store's first write, not here.
std::filesystem::path defaultRegistryDir();

class MachineSettings {
public:
    /// userSettings receives "IgnorePermissionDeniedError"; dialogs shows the
    /// "Permission Denied" box.
    MachineSettings(ClsRegistryAccess& registry, platform::VersionInfo version, platform::SettingsStore& userSettings,
                    platform::Dialogs& dialogs);

    /// The key that holds the settings (long root name).
    const std::string& keyPath() const { return keyPath_; }
    /// The setting, or fallback when it (or its key) is missing.
    std::string get(const std::string& key, const std::string& fallback);
    /// Stores the setting, creating the key when needed. On failure shows the
    /// Abort/Retry/Ignore box (unless suppressed) and repeats the write on
    /// Retry; false when the value was not stored.
    bool set(const std::string& key, const std::string& value);

    /// The text of the "Permission Denied" box for a product.
    static std::string permissionDeniedText(const std::string& productName);

private:
    ClsRegistryAccess& registry_;
    platform::VersionInfo version_;
    platform::SettingsStore& userSettings_;
    platform::Dialogs& dialogs_;
    std::string keyPath_;
};

}  // namespace cd::registry
