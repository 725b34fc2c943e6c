#pragma once
// The machine-wide settings store as the presentation windows see it: string
// values in the section "Settings". The splash reads "chkSplash", the help
// window writes "showHelp". Start-up hands in the registry-backed store
// through MachineStoreAdapter; tests hand in a map.
#include <string>

namespace cd::presentation {

class MachineStore {
public:
    virtual ~MachineStore() = default;
    /// The value of key, or fallback when it is missing or unreadable.
    virtual std::string get(const std::string& key, const std::string& fallback) = 0;
    /// Stores value; false when it could not be stored (the store itself
    /// tells the user, once, that its permissions are wrong).
    virtual bool set(const std::string& key, const std::string& value) = 0;
};

/// Joins any store with get(key, fallback) and set(key, value) (the
/// registry's MachineSettings) to the windows here, without this folder
/// depending on how that store is built.
template <typename Store>
class MachineStoreAdapter : public MachineStore {
public:
    explicit MachineStoreAdapter(Store& store) : store_(store) {}
    std::string get(const std::string& key, const std::string& fallback) override { return store_.get(key, fallback); }
    bool set(const std::string& key, const std::string& value) override { return store_.set(key, value); }

private:
    Store& store_;
};

}  // namespace cd::presentation
