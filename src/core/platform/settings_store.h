#pragma once
#include <string>

namespace cd::platform {

/// Per-user string settings, section "Settings". A missing key reads as the
/// caller's default.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::string get(const std::string& key, const std::string& fallback) const = 0;
    /// False when the value could not be stored.
    virtual bool set(const std::string& key, const std::string& value) = 0;
    virtual bool contains(const std::string& key) const = 0;
};

}  // namespace cd::platform
