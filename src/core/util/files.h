#pragma once
// File access shared by every subsystem. Every file the program replaces goes
// through writeFileAtomic, so a failed or interrupted write leaves the old
// file whole.
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace cd::util {

/// The whole file as bytes, or nothing when it cannot be opened or read.
std::optional<std::string> readFile(const std::filesystem::path& path);

/// Writes bytes to a temporary file in the same folder, flushes it to disk
/// and renames it over path. On failure the old file is untouched, the
/// temporary file is removed, and error (when given) says why.
bool writeFileAtomic(const std::filesystem::path& path, std::string_view bytes, std::string* error = nullptr);

/// FileExists: true when the folder of path holds a file (not a folder) of
/// that name, hidden and read-only files included, the name compared without
/// regard to letter case; false on any error.
bool fileExists(const std::filesystem::path& path);

/// Removes the temporary files that writeFileAtomic leaves in folder when
/// the program is killed mid-write (".NAME.tmpDIGITS"), once they have been
/// untouched for minAge (a younger one may be another process's write in
/// progress). Returns how many were removed; errors are ignored.
std::size_t removeStaleTemporaries(const std::filesystem::path& folder, std::chrono::seconds minAge);

/// Removes a file if it is there; true when no file remains.
bool removeFile(const std::filesystem::path& path);

}  // namespace cd::util
