#include "registry/registry_store.h"

#include <array>
#include <system_error>

#include "registry/sqlite_connection.h"
#include "util/text.h"

namespace cd::registry {

namespace fs = std::filesystem;

namespace {

constexpr std::array<std::string_view, 7> kRoots = {"HKCU", "HKLM", "HKCR", "HKUS", "HKPD", "HKDD", "HKCC"};

// The root key is row 1 of every file; a key's fold is its name in lower
// case, which makes lookups ignore letter case while the name keeps its spelling.
constexpr std::string_view kSchema = R"sql(
CREATE TABLE IF NOT EXISTS keys(
    id INTEGER PRIMARY KEY,
    parent INTEGER,
    name BLOB NOT NULL,
    fold BLOB NOT NULL);
CREATE UNIQUE INDEX IF NOT EXISTS keys_by_parent ON keys(parent, fold);
CREATE TABLE IF NOT EXISTS vals(
    id INTEGER PRIMARY KEY,
    key INTEGER NOT NULL,
    name BLOB NOT NULL,
    fold BLOB NOT NULL,
    type INTEGER NOT NULL,
    data BLOB NOT NULL);
CREATE UNIQUE INDEX IF NOT EXISTS vals_by_key ON vals(key, fold);
INSERT OR IGNORE INTO keys(id, parent, name, fold) VALUES(1, NULL, x'', x'');
)sql";

// The ids of a key and every key below it.
constexpr std::string_view kSubtree =
    "WITH RECURSIVE sub(id) AS (SELECT ?1 UNION ALL SELECT k.id FROM keys k JOIN sub ON k.parent = sub.id) ";

/// The names of a subkey path, or nothing when a name is empty or too long
/// or the path is deeper than the store allows.
std::optional<std::vector<std::string>> splitSubkey(std::string_view subkey) {
    std::vector<std::string> parts;
    if (subkey.empty()) return parts;
    for (std::string_view part : util::splitView(subkey, '\\')) {
        if (part.empty() || part.size() > RegistryStore::kMaxKeyNameLength) return std::nullopt;
        if (parts.size() == RegistryStore::kMaxKeyDepth) return std::nullopt;
        parts.emplace_back(part);
    }
    return parts;
}

}  // namespace

RegistryStore::RegistryStore(fs::path folder, StoreAccess access) : folder_(std::move(folder)), access_(access) {}

RegistryStore::~RegistryStore() = default;

bool RegistryStore::isRoot(std::string_view root) {
    for (auto r : kRoots)
        if (r == root) return true;
    return false;
}

fs::path RegistryStore::fileFor(std::string_view root) const { return folder_ / (std::string(root) + ".sqlite"); }

SqliteConnection* RegistryStore::connection(std::string_view root, bool forWrite) {
    if (!isRoot(root)) {
        lastError_ = "unknown root key '" + std::string(root) + "'";
        return nullptr;
    }
    if (auto it = open_.find(root); it != open_.end()) return usable(it->second.get(), forWrite);
    if (folder_.empty()) {
        lastError_ = "no registry folder given";
        return nullptr;
    }
    const fs::path path = fileFor(root);
    std::error_code ec;
    const bool exists = fs::exists(path, ec);
    std::unique_ptr<SqliteConnection> db;
    if (access_ == StoreAccess::ReadWrite && (exists || forWrite)) {
        if (!exists) fs::create_directories(folder_, ec);
        db = SqliteConnection::open(path, false, true, &lastError_);
        if (db) {
            SqliteTransaction setup(*db, true);
            if (!setup.active() || !db->exec(kSchema) || !setup.commit()) {
                lastError_ = path.string() + ": " + db->errorMessage();
                db.reset();
            }
        }
    }
    // A file this user may read but not change still serves reads.
    if (!db && exists) db = SqliteConnection::open(path, true, false, &lastError_);
    if (!db) {
        if (forWrite && access_ == StoreAccess::ReadOnly) lastError_ = "the registry store is read-only";
        return nullptr;
    }
    return usable(open_.emplace(std::string(root), std::move(db)).first->second.get(), forWrite);
}

SqliteConnection* RegistryStore::usable(SqliteConnection* db, bool forWrite) {
    if (forWrite && db->readOnly()) {
        lastError_ = "the registry store is read-only";
        return nullptr;
    }
    return db;
}

std::int64_t RegistryStore::walk(SqliteConnection& db, const std::vector<std::string>& parts, bool create) {
    std::int64_t id = kRootKeyId;
    for (const auto& part : parts) {
        const std::string fold = util::toLower(part);
        SqliteStatement find(db.handle(), "SELECT id FROM keys WHERE parent = ?1 AND fold = ?2");
        find.bind(1, id).bindBytes(2, fold);
        if (find.step()) {
            id = find.int64(0);
            continue;
        }
        if (!find.done()) {
            lastError_ = db.errorMessage();
            return 0;
        }
        if (!create) return 0;
        SqliteStatement add(db.handle(), "INSERT INTO keys(parent, name, fold) VALUES(?1, ?2, ?3)");
        add.bind(1, id).bindBytes(2, part).bindBytes(3, fold);
        add.step();
        if (!add.done()) {
            lastError_ = db.errorMessage();
            return 0;
        }
        id = db.lastInsertId();
    }
    return id;
}

RegistryStore::OpenedKey RegistryStore::openKey(std::string_view root, std::string_view subkey, KeyAccess access) {
    lastError_.clear();
    OpenedKey key;
    const auto parts = splitSubkey(subkey);
    if (!parts) {
        lastError_ = "invalid key path '" + std::string(subkey) + "'";
        return key;
    }
    key.validPath = true;
    key.rootOnly = parts->empty();
    const bool write = access != KeyAccess::Read;
    key.db = connection(root, write);
    if (!key.db) return key;
    key.transaction = std::make_unique<SqliteTransaction>(*key.db, write);
    if (!key.transaction->active()) {
        lastError_ = key.db->errorMessage();
        return key;
    }
    key.id = walk(*key.db, *parts, access == KeyAccess::WriteCreating);
    return key;
}

std::int64_t RegistryStore::findKey(std::string_view root, std::string_view subkey) {
    const OpenedKey key = openKey(root, subkey, KeyAccess::Read);
    if (!key.db) return key.validPath && key.rootOnly && isRoot(root) ? kRootKeyId : 0;
    return key.id;
}

std::int64_t RegistryStore::createKey(std::string_view root, std::string_view subkey) {
    if (subkey.empty()) {
        lastError_.clear();
        return isRoot(root) ? kRootKeyId : 0;
    }
    OpenedKey key = openKey(root, subkey, KeyAccess::WriteCreating);
    if (key.id == 0 || !key.transaction->commit()) {
        if (lastError_.empty() && key.db) lastError_ = key.db->errorMessage();
        return 0;
    }
    return key.id;
}

std::int64_t RegistryStore::deleteKey(std::string_view root, std::string_view subkey) {
    // The root itself cannot go.
    if (subkey.empty()) {
        lastError_.clear();
        return 0;
    }
    OpenedKey key = openKey(root, subkey, KeyAccess::Write);
    if (key.id == 0) return 0;
    SqliteConnection& db = *key.db;
    SqliteStatement values(db.handle(), std::string(kSubtree) + "DELETE FROM vals WHERE key IN (SELECT id FROM sub)");
    values.bind(1, key.id).step();
    SqliteStatement keys(db.handle(), std::string(kSubtree) + "DELETE FROM keys WHERE id IN (SELECT id FROM sub)");
    if (values.done()) keys.bind(1, key.id).step();
    if (!values.done() || !keys.done() || !key.transaction->commit()) {
        lastError_ = db.errorMessage();
        return 0;
    }
    return key.id;
}

std::optional<RegistryValue> RegistryStore::value(std::string_view root, std::string_view subkey,
                                                  std::string_view name) {
    const OpenedKey key = openKey(root, subkey, KeyAccess::Read);
    if (key.id == 0) return std::nullopt;
    SqliteStatement q(key.db->handle(), "SELECT name, type, data FROM vals WHERE key = ?1 AND fold = ?2");
    q.bind(1, key.id).bindBytes(2, util::toLower(name));
    if (!q.step()) return std::nullopt;
    return RegistryValue{q.bytes(0), static_cast<std::uint32_t>(q.int64(1)), q.bytes(2)};
}

std::int64_t RegistryStore::setValue(std::string_view root, std::string_view subkey, const RegistryValue& v,
                                     bool createKey) {
    OpenedKey key = openKey(root, subkey, createKey ? KeyAccess::WriteCreating : KeyAccess::Write);
    if (key.id == 0) {
        if (lastError_.empty() && key.transaction) lastError_ = "no such key";
        return 0;
    }
    // An existing value keeps its row, so it keeps its place in the enumeration.
    SqliteStatement set(key.db->handle(),
                        "INSERT INTO vals(key, name, fold, type, data) VALUES(?1, ?2, ?3, ?4, ?5) "
                        "ON CONFLICT(key, fold) DO UPDATE SET type = excluded.type, data = excluded.data");
    set.bind(1, key.id).bindBytes(2, v.name).bindBytes(3, util::toLower(v.name)).bind(4, v.type).bindBytes(5, v.data);
    set.step();
    if (!set.done() || !key.transaction->commit()) {
        lastError_ = key.db->errorMessage();
        return 0;
    }
    return key.id;
}

std::int64_t RegistryStore::deleteValue(std::string_view root, std::string_view subkey, std::string_view name) {
    OpenedKey key = openKey(root, subkey, KeyAccess::Write);
    if (key.id == 0) return 0;
    SqliteStatement del(key.db->handle(), "DELETE FROM vals WHERE key = ?1 AND fold = ?2");
    del.bind(1, key.id).bindBytes(2, util::toLower(name)).step();
    if (!del.done() || !key.transaction->commit()) {
        lastError_ = key.db->errorMessage();
        return 0;
    }
    return key.id;
}

std::optional<std::vector<std::string>> RegistryStore::subkeyNames(std::string_view root, std::string_view subkey) {
    const OpenedKey key = openKey(root, subkey, KeyAccess::Read);
    if (!key.db && key.validPath && key.rootOnly && isRoot(root)) return std::vector<std::string>{};
    if (key.id == 0) return std::nullopt;
    SqliteStatement q(key.db->handle(), "SELECT name FROM keys WHERE parent = ?1 ORDER BY id");
    q.bind(1, key.id);
    std::vector<std::string> names;
    while (q.step()) names.push_back(q.bytes(0));
    if (!q.done()) {
        lastError_ = key.db->errorMessage();
        return std::nullopt;
    }
    return names;
}

std::optional<std::vector<RegistryValue>> RegistryStore::values(std::string_view root, std::string_view subkey) {
    const OpenedKey key = openKey(root, subkey, KeyAccess::Read);
    if (!key.db && key.validPath && key.rootOnly && isRoot(root)) return std::vector<RegistryValue>{};
    if (key.id == 0) return std::nullopt;
    SqliteStatement q(key.db->handle(), "SELECT name, type, data FROM vals WHERE key = ?1 ORDER BY id");
    q.bind(1, key.id);
    std::vector<RegistryValue> out;
    while (q.step()) out.push_back({q.bytes(0), static_cast<std::uint32_t>(q.int64(1)), q.bytes(2)});
    if (!q.done()) {
        lastError_ = key.db->errorMessage();
        return std::nullopt;
    }
    return out;
}

}  // namespace cd::registry
