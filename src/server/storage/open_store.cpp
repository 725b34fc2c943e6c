#include "storage/open_store.h"

#include "storage/postgres_driver.h"
#include "storage/sqlite_driver.h"
#include "util/text.h"

namespace cd::server::storage {

std::filesystem::path sqliteFile(const std::filesystem::path& dataDir) { return dataDir / "channeldeck-server.db"; }

std::unique_ptr<ReportStore> openStore(const StoreLocation& location, std::string* error) {
    std::unique_ptr<SqlDriver> driver;
    if (location.databaseUrl.empty()) {
        driver = SqliteDriver::open(sqliteFile(location.dataDir), location.fullSync, error, location.checkpointAside);
    } else if (util::startsWith(location.databaseUrl, "postgresql://") ||
               util::startsWith(location.databaseUrl, "postgres://")) {
        driver = PostgresDriver::open(location.databaseUrl, error);
    } else {
        if (error) *error = "--database takes a postgresql:// address";
        return nullptr;
    }
    if (!driver) return nullptr;
    auto store = std::make_unique<ReportStore>(std::move(driver));
    if (!store->prepareSchema()) {
        if (error) *error = "cannot create the tables: " + store->lastError();
        return nullptr;
    }
    return store;
}

}  // namespace cd::server::storage
