#pragma once
// clsRegistryAccess: typed registry reads and writes, key enumeration and
// registry script files, on the registry store. Every key is named by one
// path string (see registry_path.h). No member throws: each reports through
// its result (0, false, -1 or the caller's default).
//
// Beyond the classic interface:
// - KillKey deletes the key's whole subtree (the store's rule); a root key
//   cannot be deleted.
// - EnumKeys and EnumValues return names of any length whole, and EnumValues
//   returns string and binary data of any length whole; only ReadString keeps
//   its 255-byte limit. The export therefore writes long strings whole.
// - WriteBinary refuses text that is not hexadecimal (isBinValid) instead of
//   storing made-up bytes; text with no digits at all stores a zero-length value.
// - HaveSubkey is false for a key that does not exist.
// - KillKey and KillValue report 0 when the store could not make the change.
// - ImportFromReg stops with 0 at the first change the store refuses.
// - Registry scripts quote names and strings with every \ and " escaped by
//   a \, and write a string holding CR or LF as hex(1) bytes, so one value
//   is always one line and every value the reads give back whole survives
//   an export and an import (reg_script.h). The import also reads hex(2) and hex(7)
//   strings, other hex(N) types with their type code, lines continued with a
//   trailing backslash, and the unescaped lines of older scripts. A key path
//   or value name holding CR LF cannot be written: the export fails.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "registry/registry_path.h"
#include "registry/registry_store.h"

namespace cd::platform {
class EventPump;
}
namespace cd::ui {
class Control;
}

namespace cd::registry {

/// One entry of EnumValues' value array: a text (types 1 and 3), a number
/// (type 4), or nothing (other types).
using RegistryVariant = std::variant<std::monostate, std::string, std::int32_t>;

/// A member of the class with its one-line description ("" for private members).
struct RegistryMember {
    std::string_view name;
    std::string_view description;
    bool isPublic;
};

class ClsRegistryAccess {
public:
    /// pump lets window events run during an export that shows progress; may be null.
    explicit ClsRegistryAccess(RegistryStore& store, platform::EventPump* pump = nullptr);

    /// Every member in interface order with its description string.
    static std::span<const RegistryMember> members();
    /// The description string of a member ("" for an unknown or private member).
    static std::string_view description(std::string_view member);

    /// Whether writes create a missing key (true after construction).
    bool CreateKeyIfDoesntExists() const { return createKeyIfDoesntExists_; }
    void CreateKeyIfDoesntExists(bool offon) { createKeyIfDoesntExists_ = offon; }

    /// Creates the key and any missing keys above it; non-zero when created or present.
    std::int32_t CreateKey(const std::string& sPath);
    /// Deletes the key and its subtree; non-zero when it existed and is gone.
    std::int32_t KillKey(const std::string& sPath);
    /// True when the key exists.
    bool KeyExists(const std::string& sPath);
    /// Fills keys with the subkey names (creation order); their count, -1 for a missing key.
    std::int32_t EnumKeys(const std::string& sPath, std::vector<std::string>& keys);
    /// True when the key has at least one subkey.
    bool HaveSubkey(const std::string& sPath);
    /// Stores sValue and a terminating null as a string value; "@" names the
    /// default value. Non-zero on success.
    std::int32_t WriteString(const std::string& sPath, const std::string& sName, const std::string& sValue);
    /// The value's text before its first null, leading spaces removed; sDefault
    /// when missing or longer than 255 bytes (254 characters and the null).
    std::string ReadString(const std::string& sPath, const std::string& sName, const std::string& sDefault);
    /// Stores a 4-byte number value. Non-zero on success.
    std::int32_t WriteDWORD(const std::string& sPath, const std::string& sName, std::int32_t lValue);
    /// The value as a number when it has at most 4 bytes; lDefault otherwise.
    std::int32_t ReadDWORD(const std::string& sPath, const std::string& sName, std::int32_t lDefault);
    /// Stores the bytes of a binary text form as a binary value. Non-zero on success.
    std::int32_t WriteBinary(const std::string& sPath, const std::string& sName, const std::string& sValue);
    /// The value's bytes in the binary text form, trimmed; sDefault when missing.
    std::string ReadBinary(const std::string& sPath, const std::string& sName, const std::string& sDefault);
    /// Deletes a value; non-zero when the key exists and holds no such value afterwards.
    std::int32_t KillValue(const std::string& sPath, const std::string& sName);
    /// True when the value exists.
    bool ValueExists(const std::string& sPath, const std::string& sName);
    /// Fills sName and sValue with the key's values of type OnlyType (-1: all
    /// types) in creation order; their count, -1 for a missing key.
    std::int32_t EnumValues(const std::string& sPath, std::vector<std::string>& sName,
                            std::vector<RegistryVariant>& sValue, std::int32_t OnlyType);
    /// Writes the key (and with IncludeSubkeys its subtree) to a new REGEDIT4
    /// file; 1 on success, 0 when the file exists, a write failed or a key
    /// path or value name holds CR LF. Output, when given, shows each key
    /// path as it is written.
    std::int32_t ExportToReg(const std::string& sPath, const std::string& sRegFile, bool IncludeSubkeys,
                             ui::Control* Output = nullptr);
    /// Applies a REGEDIT4 file; 1 when all of it was applied, else 0.
    std::int32_t ImportFromReg(const std::string& sRegFile);
    /// See bin_text.h.
    static std::string StrToBin(std::string& sBin);
    static std::string StrToBin(std::string_view sBin);
    static std::string BinToStr(std::string_view sStr);
    static bool isBinValid(std::string_view sBin);

    /// The stored value (type and raw bytes) without any buffer limit; for
    /// tools that must see exactly what is there.
    std::optional<RegistryValue> QueryValue(const std::string& sPath, const std::string& sName);
    /// Why the last store operation failed, for messages ("" when unknown).
    const std::string& lastError() const { return store_.lastError(); }

private:
    static RegistryPath SplitRegistryPath(const std::string& sPath) { return splitRegistryPath(sPath); }
    std::int32_t writeValue(const std::string& sPath, RegistryValue value);
    /// A value as ReadString reads it (text before the null, leading spaces
    /// removed); limited applies ReadString's 255-byte buffer.
    std::optional<std::string> readText(const std::string& sPath, const std::string& sName, bool limited);
    bool ExportKey(const std::string& sPath, const std::string& sRegFile, bool IncludeSubkeys, ui::Control* Output);

    RegistryStore& store_;
    platform::EventPump* pump_;
    bool createKeyIfDoesntExists_ = true;
};

}  // namespace cd::registry
