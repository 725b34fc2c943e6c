#pragma once
// Opens the store a server runs on: SQLite in the data folder unless a
// PostgreSQL address is given.
#include <filesystem>
#include <memory>
#include <string>

#include "storage/report_store.h"

namespace cd::server::storage {

struct StoreLocation {
    std::filesystem::path dataDir;
    /// "" for SQLite in dataDir; otherwise "postgresql://..." (or "postgres://...").
    std::string databaseUrl;
    /// SQLite only: wait for the disk on every commit.
    bool fullSync = true;
    /// SQLite only: checkpoint the log on a thread of its own (the report writer).
    bool checkpointAside = false;
};

/// The SQLite file in a data folder.
std::filesystem::path sqliteFile(const std::filesystem::path& dataDir);

/// Opens a connection with the schema in place; null with error when it cannot.
std::unique_ptr<ReportStore> openStore(const StoreLocation& location, std::string* error);

}  // namespace cd::server::storage
