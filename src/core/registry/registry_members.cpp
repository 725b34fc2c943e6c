// The members of clsRegistryAccess in interface order, with the one-line
// description each carries (misspellings included: callers may show them).
#include <array>

#include "registry/cls_registry_access.h"

namespace cd::registry {

namespace {

constexpr std::array<RegistryMember, 22> kMembers = {{
    {"CreateKeyIfDoesntExists", "Let/Get. Should key will be created if no exists (when writting data to registry)",
     true},
    {"SplitRegistryPath", "", false},
    {"CreateKey", "Creates key in registry...", true},
    {"KillKey", "Deletes key from registry...", true},
    {"KeyExists", "Checks if some key exists...", true},
    {"EnumKeys", "Enumerates subkeys of some key...", true},
    {"HaveSubkey", "Checks for subkeys in some key...", true},
    {"WriteString", "Writes data of string type...", true},
    {"ReadString", "Reads data of string type...", true},
    {"WriteDWORD", "Writes data of dword type...", true},
    {"ReadDWORD", "Reads data of dword type...", true},
    {"WriteBinary", "Writes data of binary type...", true},
    {"ReadBinary", "Reads data of binary type...", true},
    {"KillValue", "Deletes value from registry...", true},
    {"ValueExists", "Checks if some value exists in registry", true},
    {"EnumValues", "Enumerates all values from specified key...", true},
    {"ExportToReg", "Exports contents of some key (and it's subkeys) to .reg file...", true},
    {"ExportKey", "", false},
    {"ImportFromReg", "Imports .reg file into registry...", true},
    {"StrToBin", "Converts hex (string) into it's binary value...", true},
    {"BinToStr", "Converts binary data into string...", true},
    {"isBinValid", "Checks if given binary data is in valid hex format (used for writting binary)", true},
}};

}  // namespace

std::span<const RegistryMember> ClsRegistryAccess::members() { return kMembers; }

std::string_view ClsRegistryAccess::description(std::string_view member) {
    for (const auto& m : kMembers)
        if (m.name == member) return m.description;
    return {};
}

}  // namespace cd::registry
