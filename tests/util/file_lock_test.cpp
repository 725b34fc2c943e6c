#include "util/file_lock.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "support/temp_dir.h"
#include "util/files.h"

namespace cd::util {
namespace {

// True when another writer could take the lock of file right now.
bool freeToLock(const std::filesystem::path& file) {
    const int fd = ::open(FileWriteLock::lockFileFor(file).c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return true;
    const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return free;
}

// Catches a lock taken on the file itself (a rename puts a new file under
// the name, which a second writer would lock freely) or one not released.
TEST(FileWriteLock, HeldAcrossTheReplaceOfItsFileAndReleasedWhenDestroyed) {
    test::TempDir dir;
    const auto file = dir / "Imported.txt";
    ASSERT_TRUE(writeFileAtomic(file, "old"));
    {
        auto lock = FileWriteLock::acquire(file);
        ASSERT_TRUE(lock.has_value());
        EXPECT_FALSE(freeToLock(file));
        ASSERT_TRUE(writeFileAtomic(file, "new"));
        EXPECT_FALSE(freeToLock(file));
        FileWriteLock moved = std::move(*lock);
        lock.reset();
        EXPECT_FALSE(freeToLock(file));
    }
    EXPECT_TRUE(freeToLock(file));
    EXPECT_EQ(FileWriteLock::lockFileFor(file), dir / ".Imported.txt.lock");
    // The lock file is no temporary of an interrupted write: the sweep keeps it.
    EXPECT_EQ(removeStaleTemporaries(dir.path(), std::chrono::seconds(0)), 0u);
    EXPECT_TRUE(std::filesystem::exists(dir / ".Imported.txt.lock"));
}

// Catches a failure to lock passing for a held lock.
TEST(FileWriteLock, AFolderThatIsNotThereGivesNoLockAndSaysWhy) {
    test::TempDir dir;
    std::string error;
    EXPECT_FALSE(FileWriteLock::acquire(dir / "missing" / "Imported.txt", &error).has_value());
    EXPECT_NE(error.find(".Imported.txt.lock"), std::string::npos) << error;
}

}  // namespace
}  // namespace cd::util
