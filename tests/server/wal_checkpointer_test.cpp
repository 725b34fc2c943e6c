#include "storage/wal_checkpointer.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "support/sqlite_integrity.h"
#include "support/temp_dir.h"

namespace cd::server::storage {
namespace {

// Catches a writer whose log is never copied back (it grows with every
// commit until the disk is full) and a checkpoint that loses committed rows.
TEST(WalCheckpointer, KeepsTheLogBoundedAndLosesNothing) {
    cd::test::TempDir dir;
    const auto file = dir.path() / "db";
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    sqlite3_busy_timeout(db, 10000);  // as the server's connections have
    ASSERT_EQ(sqlite3_exec(db,
                           "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA wal_autocheckpoint=0;"
                           "CREATE TABLE t (k BLOB PRIMARY KEY, v BLOB) WITHOUT ROWID",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    constexpr int kLimit = 150;
    std::uintmax_t largestLog = 0;
    {
        WalCheckpointer checkpointer(db, file, 30, kLimit);
        for (int commit = 0; commit < 600; ++commit) {
            // Rows at random places, a page or more each, as reports are.
            ASSERT_EQ(sqlite3_exec(db,
                                   "INSERT INTO t SELECT randomblob(16), randomblob(1500)"
                                   " FROM (SELECT 1 UNION ALL SELECT 2 UNION ALL SELECT 3 UNION ALL SELECT 4)",
                                   nullptr, nullptr, nullptr),
                      SQLITE_OK);
            std::error_code ec;
            largestLog = std::max(largestLog, std::filesystem::file_size(dir.path() / "db-wal", ec));
            // The server's commits are paced by the disk; so is this writer.
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    // Without checkpoints the log reaches some 8,900 pages here; with them it
    // restarts once a pass finds it over the limit. How far past the limit
    // it gets depends on how fast the thread runs next to the writer, so
    // the bound leaves room for a slow (sanitized, busy) machine.
    EXPECT_LT(largestLog, static_cast<std::uintmax_t>(2000) * 4120) << "the log was not kept near its limit";
    sqlite3_stmt* count = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "SELECT COUNT(*) FROM t", -1, &count, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_step(count), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(count, 0), 2400);
    sqlite3_finalize(count);
    sqlite3_close(db);
    EXPECT_EQ(cd::test::integrityOf(file), "ok");
}

}  // namespace
}  // namespace cd::server::storage
