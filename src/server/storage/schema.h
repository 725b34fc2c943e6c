#pragma once
// The one schema of the server's database, written once for both engines;
// only the names of the bytes and integer types, and SQLite's clause for a
// table kept in key order, differ.
#include <string>
#include <vector>

#include "storage/sql_driver.h"

namespace cd::server::storage {

/// The CREATE statements, each safe to run again, in the driver's words.
std::vector<std::string> schemaStatements(const SqlDriver& driver);

}  // namespace cd::server::storage
