#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "support/temp_dir.h"
#include "util/files.h"

namespace cd::util {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

void age(const fs::path& p, std::chrono::hours by) { fs::last_write_time(p, fs::file_time_type::clock::now() - by); }

// Catches a sweep that removes the user's files, a write still in progress,
// or leaves a temporary file of a killed write behind.
TEST(StaleTemporaries, OnlyOldLeftoversOfAtomicWritesGo) {
    test::TempDir dir;
    for (const char* name : {".Favorites.txt.tmp123456", ".Data.htm.tmp9", "Favorites.txt", ".Favorites.txt.tmpabc",
                             "notes.tmp1", ".tmp42", ".hidden"})
        dir.write(name, "x");
    fs::create_directory(dir / ".folder.tmp7");
    for (const char* name : {".Favorites.txt.tmp123456", "Favorites.txt", ".Favorites.txt.tmpabc", "notes.tmp1",
                             ".tmp42", ".hidden", ".folder.tmp7"})
        age(dir / name, 2h);
    // .Data.htm.tmp9 is fresh: another process may be writing it.

    EXPECT_EQ(removeStaleTemporaries(dir.path(), 600s), 1u);
    EXPECT_FALSE(fs::exists(dir / ".Favorites.txt.tmp123456"));
    for (const char* kept : {".Data.htm.tmp9", "Favorites.txt", ".Favorites.txt.tmpabc", "notes.tmp1", ".tmp42",
                             ".hidden", ".folder.tmp7"})
        EXPECT_TRUE(fs::exists(dir / kept)) << kept;
}

// Catches a sweep of a missing or unreadable folder that throws.
TEST(StaleTemporaries, MissingFolderRemovesNothing) {
    test::TempDir dir;
    EXPECT_EQ(removeStaleTemporaries(dir / "absent", 0s), 0u);
    dir.write("file", "x");
    EXPECT_EQ(removeStaleTemporaries(dir / "file", 0s), 0u);
}

}  // namespace
}  // namespace cd::util
