// Registry script import: ImportFromReg of any bytes into a fresh store,
// then every key read back and the result exported again. Whatever the
// import did, the store must stay readable and every stored value whole.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fuzz_support.h"
#include "registry/cls_registry_access.h"
#include "registry/registry_path.h"
#include "registry/registry_store.h"
#include "util/text.h"

namespace {

using namespace cd;

constexpr const char* kRoots[] = {"HKEY_CURRENT_USER",     "HKEY_LOCAL_MACHINE", "HKEY_CLASSES_ROOT",  "HKEY_USERS",
                                  "HKEY_PERFORMANCE_DATA", "HKEY_DYN_DATA",      "HKEY_CURRENT_CONFIG"};

// Every call walks its key's path from the root, so reading a chain of
// deep keys costs the square of its depth; below this depth a run is quick,
// and deeper keys are left unread (and the tree unexported).
constexpr std::size_t kReadDepth = 48;

// Every key under every root down to kReadDepth, read the way the export
// reads it. True when the tree goes no deeper than that.
bool readEverything(registry::RegistryStore& store, registry::ClsRegistryAccess& access) {
    bool whole = true;
    std::vector<std::pair<std::string, std::size_t>> pending;
    for (const char* root : kRoots) pending.emplace_back(root, 0);
    while (!pending.empty()) {
        const auto [path, depth] = std::move(pending.back());
        pending.pop_back();
        std::vector<std::string> subkeys;
        const auto count = access.EnumKeys(path, subkeys);
        CD_FUZZ_CHECK(count == static_cast<std::int32_t>(subkeys.size()));
        std::vector<std::string> names;
        std::vector<registry::RegistryVariant> values;
        const auto valueCount = access.EnumValues(path, names, values, -1);
        CD_FUZZ_CHECK(valueCount == static_cast<std::int32_t>(names.size()));
        CD_FUZZ_CHECK(names.size() == values.size());
        // The enumeration gives every stored value, in order, its name
        // trimmed of spaces as the classic interface gives it.
        const auto p = registry::splitRegistryPath(path);
        const auto stored = store.values(p.root, p.subkey);
        CD_FUZZ_CHECK(stored.has_value() && stored->size() == names.size());
        for (std::size_t i = 0; i < names.size(); ++i) {
            CD_FUZZ_CHECK(names[i] == util::trimSpaces((*stored)[i].name));
            CD_FUZZ_CHECK(access.ValueExists(path, (*stored)[i].name));
        }
        for (const auto& name : subkeys) {
            CD_FUZZ_CHECK(!name.empty() && name.size() <= registry::RegistryStore::kMaxKeyNameLength);
            if (depth + 1 > kReadDepth) {
                whole = false;
                continue;
            }
            pending.emplace_back(path + "\\" + name, depth + 1);
        }
    }
    return whole;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto reg = fuzz::ScratchFolder::write("import.reg", fuzz::asText(data, size));
    const auto folder = fuzz::ScratchFolder::freshSubfolder("store");
    {
        registry::RegistryStore store(folder);
        registry::ClsRegistryAccess access(store);
        const auto result = access.ImportFromReg(reg.string());
        CD_FUZZ_CHECK(result == 0 || result == 1);
        if (readEverything(store, access)) {
            const auto exported = folder / "export.reg";
            CD_FUZZ_CHECK(access.ExportToReg("HKEY_CURRENT_USER", exported.string(), true) == 1);
        }
    }
    // What the import stored is still there for the next process.
    registry::RegistryStore reopened(folder, registry::StoreAccess::ReadOnly);
    registry::ClsRegistryAccess again(reopened);
    readEverything(reopened, again);
    return 0;
}
