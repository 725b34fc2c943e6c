// Registry script import: ImportFromReg of any bytes into a fresh store,
// then every key read back and the result exported again. Whatever the
// import did, the store must stay readable and every stored value whole.
// The export is then imported into a second fresh store: every value the
// reads of the first give back whole must be there, byte for byte.
#include <cstdint>
#include <map>
#include <optional>
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
// reads it. True when the tree goes no deeper than that. unwritable (when
// given) is set when a key path or value name of the HKCU tree holds CR LF,
// which no script line can carry (the old reading of unquoted lines, which
// drops quotes, can join a CR and an LF).
bool readEverything(registry::RegistryStore& store, registry::ClsRegistryAccess& access, bool* unwritable = nullptr) {
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
        const bool inExport = p.root == "HKCU";
        for (std::size_t i = 0; i < names.size(); ++i) {
            CD_FUZZ_CHECK(names[i] == util::trimSpaces((*stored)[i].name));
            CD_FUZZ_CHECK(access.ValueExists(path, (*stored)[i].name));
            const auto type = (*stored)[i].type;
            const bool exported =
                type == registry::kRegString || type == registry::kRegBinary || type == registry::kRegDword;
            if (unwritable && inExport && exported && names[i].find("\r\n") != std::string::npos) *unwritable = true;
        }
        for (const auto& name : subkeys) {
            CD_FUZZ_CHECK(!name.empty() && name.size() <= registry::RegistryStore::kMaxKeyNameLength);
            if (unwritable && inExport && name.find("\r\n") != std::string::npos) *unwritable = true;
            if (depth + 1 > kReadDepth) {
                whole = false;
                continue;
            }
            pending.emplace_back(path + "\\" + name, depth + 1);
        }
    }
    return whole;
}

// What the reads give back of a value, when that is the value whole and the
// script format can carry it: a string without leading spaces (as text and
// its final null), binary bytes, a 4-byte number. Nothing otherwise.
std::optional<std::string> wholeByReads(const registry::RegistryValue& v) {
    switch (v.type) {
        case registry::kRegString: {
            std::string text = v.data.substr(0, v.data.find('\0'));
            if (!text.empty() && text.front() == ' ') return std::nullopt;
            // "@" with no text deletes the default value, as the format has it.
            if (text.empty() && v.name.empty()) return std::nullopt;
            return text + '\0';
        }
        case registry::kRegBinary:
            return v.data;
        case registry::kRegDword:
            if (v.data.size() != 4) return std::nullopt;
            return v.data;
        default:
            return std::nullopt;
    }
}

// Every value of the HKCU tree that the reads of from give back whole, by a
// name that no other value of its key shares once trimmed and folded, is in
// to with the same type and bytes.
void checkRoundTrip(registry::RegistryStore& from, registry::ClsRegistryAccess& fromAccess,
                    registry::RegistryStore& to) {
    std::vector<std::pair<std::string, std::size_t>> pending{{"HKEY_CURRENT_USER", 0}};
    while (!pending.empty()) {
        const auto [path, depth] = std::move(pending.back());
        pending.pop_back();
        const auto p = registry::splitRegistryPath(path);
        const auto values = from.values(p.root, p.subkey);
        CD_FUZZ_CHECK(values.has_value());
        std::map<std::string, int> uses;
        for (const auto& v : *values) ++uses[util::toLower(util::trimSpaces(v.name))];
        for (const auto& v : *values) {
            if (v.name != util::trimSpaces(v.name) || uses[util::toLower(v.name)] != 1) continue;
            const auto whole = wholeByReads(v);
            if (!whole) continue;
            const auto back = to.value(p.root, p.subkey, v.name);
            CD_FUZZ_CHECK(back.has_value());
            CD_FUZZ_CHECK(back->name == v.name);
            CD_FUZZ_CHECK(back->type == v.type);
            CD_FUZZ_CHECK(back->data == *whole);
        }
        if (depth + 1 > kReadDepth) continue;
        std::vector<std::string> subkeys;
        fromAccess.EnumKeys(path, subkeys);
        for (const auto& name : subkeys) pending.emplace_back(path + "\\" + name, depth + 1);
    }
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
        bool unwritable = false;
        if (readEverything(store, access, &unwritable)) {
            const auto exported = folder / "export.reg";
            const auto result = access.ExportToReg("HKEY_CURRENT_USER", exported.string(), true);
            CD_FUZZ_CHECK(result == (unwritable ? 0 : 1));
            if (!unwritable) {
                registry::RegistryStore second(folder / "second");
                registry::ClsRegistryAccess secondAccess(second);
                CD_FUZZ_CHECK(secondAccess.ImportFromReg(exported.string()) == 1);
                checkRoundTrip(store, access, second);
            }
        }
    }
    // What the import stored is still there for the next process.
    registry::RegistryStore reopened(folder, registry::StoreAccess::ReadOnly);
    registry::ClsRegistryAccess again(reopened);
    readEverything(reopened, again);
    return 0;
}
