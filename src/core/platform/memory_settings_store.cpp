#include "platform/memory_settings_store.h"

namespace cd::platform {

std::string MemorySettingsStore::get(const std::string& key, const std::string& fallback) const {
    const auto it = values_.find(key);
    return it == values_.end() ? fallback : it->second;
}

bool MemorySettingsStore::set(const std::string& key, const std::string& value) {
    values_[key] = value;
    return true;
}

bool MemorySettingsStore::contains(const std::string& key) const { return values_.count(key) != 0; }

}  // namespace cd::platform
