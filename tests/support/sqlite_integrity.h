#pragma once
// What SQLite's own check says of a database file: "ok" when whole.
#include <filesystem>
#include <string>

namespace cd::test {

/// The first line of PRAGMA integrity_check on file, or "cannot open".
std::string integrityOf(const std::filesystem::path& file);

}  // namespace cd::test
