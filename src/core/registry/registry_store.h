#pragma once
// The store under the registry layer: keys and typed values kept in SQLite,
// one database file per root ("HKCU.sqlite", "HKLM.sqlite", ...) in one folder.
//
// - Every change is one transaction, so a crash never leaves a half-written
//   key, and a change reported as done is on disk.
// - Several processes may share the folder: the files use WAL journalling,
//   writers take the write lock at the start of their transaction and wait up
//   to 5 s for another writer, so no write is lost.
// - Key and value names are compared ignoring ASCII letter case, as the
//   Windows registry does, and keep the spelling they were created with.
// - Subkeys and values enumerate in creation order; overwriting a value keeps
//   its place.
// - Deleting a key deletes its whole subtree in one transaction. A root key
//   itself cannot be deleted.
// - A key name is 1 to 255 bytes and holds no backslash (the separator of
//   subkey paths); a path with an empty or longer component names no key.
// - A key lies at most 512 levels below its root, as in the Windows registry;
//   a deeper path names no key. Every call walks its path from the root, so
//   without the limit a small script of very deep keys would make a later
//   export of the tree run for hours.
// - Reading never creates a file or folder; the first write to a root
//   creates the folder and that root's file.
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "registry/sqlite_connection.h"

namespace cd::registry {

/// Value types kept by the registry layer (the Windows codes).
enum RegistryType : std::uint32_t { kRegString = 1, kRegBinary = 3, kRegDword = 4 };

/// A value as stored: its name, type code and raw bytes.
struct RegistryValue {
    std::string name;
    std::uint32_t type = 0;
    std::string data;
};

enum class StoreAccess { ReadWrite, ReadOnly };

class RegistryStore {
public:
    /// Longest key name, in bytes.
    static constexpr std::size_t kMaxKeyNameLength = 255;
    /// Most levels of subkeys below a root.
    static constexpr std::size_t kMaxKeyDepth = 512;
    /// Id of every root key; other keys get larger ids.
    static constexpr std::int64_t kRootKeyId = 1;

    /// A store on the files in folder. ReadOnly opens every file without write
    /// access, so every change fails (used for installations the user may read
    /// but not change).
    explicit RegistryStore(std::filesystem::path folder, StoreAccess access = StoreAccess::ReadWrite);
    ~RegistryStore();
    RegistryStore(const RegistryStore&) = delete;
    RegistryStore& operator=(const RegistryStore&) = delete;

    /// True for the seven short root names (HKCU, HKLM, HKCR, HKUS, HKPD, HKDD, HKCC).
    static bool isRoot(std::string_view root);
    const std::filesystem::path& folder() const { return folder_; }
    /// The database file that holds root.
    std::filesystem::path fileFor(std::string_view root) const;

    // Every call below takes a short root name and a subkey path ("" for the
    // root key itself, else names joined by backslashes). Ids are positive.

    /// The key's id, or 0 when it does not exist or cannot be read.
    std::int64_t findKey(std::string_view root, std::string_view subkey);
    /// Creates the key and any missing keys above it; its id (also when it was
    /// there already), 0 on failure.
    std::int64_t createKey(std::string_view root, std::string_view subkey);
    /// Deletes the key with all its subkeys and values; the deleted key's id,
    /// 0 when it does not exist, is a root, or the change failed.
    std::int64_t deleteKey(std::string_view root, std::string_view subkey);

    /// The named value ("" is the default value), or nothing.
    std::optional<RegistryValue> value(std::string_view root, std::string_view subkey, std::string_view name);
    /// Sets a value, replacing one of the same name. When the key is missing
    /// it is created first if createKey is true, else nothing changes. The
    /// key's id, or 0 on failure.
    std::int64_t setValue(std::string_view root, std::string_view subkey, const RegistryValue& v, bool createKey);
    /// Deletes the named value if present; the key's id when the key exists
    /// and the change was stored (also when there was no such value), else 0.
    std::int64_t deleteValue(std::string_view root, std::string_view subkey, std::string_view name);

    /// Names of the key's subkeys in creation order; nothing when the key is missing.
    std::optional<std::vector<std::string>> subkeyNames(std::string_view root, std::string_view subkey);
    /// The key's values in creation order; nothing when the key is missing.
    std::optional<std::vector<RegistryValue>> values(std::string_view root, std::string_view subkey);

    /// Why the last failing call failed (empty when it simply found nothing).
    const std::string& lastError() const { return lastError_; }

private:
    /// The open file of root; null when it cannot be opened, or for a write
    /// when it can only be read.
    SqliteConnection* connection(std::string_view root, bool forWrite);
    SqliteConnection* usable(SqliteConnection* db, bool forWrite);
    std::int64_t walk(SqliteConnection& db, const std::vector<std::string>& parts, bool create);

    enum class KeyAccess { Read, Write, WriteCreating };
    /// A key looked up (or made) inside a transaction of its root's file,
    /// which stays open as long as this does.
    struct OpenedKey {
        bool validPath = false;  // the subkey path is one the store accepts
        bool rootOnly = false;   // the path names the root itself
        SqliteConnection* db = nullptr;
        std::unique_ptr<SqliteTransaction> transaction;
        std::int64_t id = 0;  // 0: no such key, or it could not be reached
    };
    /// The prologue every operation shares: split the path, open the file,
    /// begin the transaction, walk to the key. lastError() says why it failed.
    OpenedKey openKey(std::string_view root, std::string_view subkey, KeyAccess access);

    std::filesystem::path folder_;
    StoreAccess access_;
    std::map<std::string, std::unique_ptr<SqliteConnection>, std::less<>> open_;
    std::string lastError_;
};

}  // namespace cd::registry
