#pragma once
#include <map>
#include <string>

#include "platform/settings_store.h"

namespace cd::platform {

/// Settings held in memory: for tests and the command-line tool.
class MemorySettingsStore : public SettingsStore {
public:
    std::string get(const std::string& key, const std::string& fallback) const override;
    bool set(const std::string& key, const std::string& value) override;
    bool contains(const std::string& key) const override;
    const std::map<std::string, std::string>& values() const { return values_; }

private:
    std::map<std::string, std::string> values_;
};

}  // namespace cd::platform
