#include "mainwindow/single_instance.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace cd::mainwindow {
namespace {

namespace fs = std::filesystem;

// Claims folder in a child process that may not write it, and tells what it
// found: 0 it holds the lock, 1 another instance runs, 2 it could not tell,
// 3 the folder turned out writable (the test would prove nothing).
// As root, permissions do not bind, so the child becomes the unprivileged
// user "nobody" first; as any other user the folder is made read-only.
int claimWithoutWriteAccess(const fs::path& folder) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0) {
            if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(4);
        }
        if (::access(folder.c_str(), W_OK) == 0) ::_exit(3);
        const auto lock = SingleInstance::claim(folder);
        ::_exit(lock.holdsLock() ? 0 : lock.anotherInstanceRuns() ? 1 : 2);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

// Catches the rule failing on a program folder the user may not write (a
// shared installation): the first instance must hold the folder and a
// second must see it, with no file created in the folder for it.
TEST(SingleInstance, HoldsAFolderThatCannotBeWritten) {
    test::TempDir dir;
    const fs::path folder = dir / "program";
    fs::create_directory(folder);
    dir.write("program/Data.txt", "x");
    fs::permissions(dir.path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                    fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);

    EXPECT_EQ(claimWithoutWriteAccess(folder), 0) << "the first instance holds nothing";
    {
        const auto running = SingleInstance::claim(folder);
        ASSERT_TRUE(running.holdsLock());
        EXPECT_EQ(claimWithoutWriteAccess(folder), 1) << "a second instance does not see the first";
    }
    EXPECT_EQ(claimWithoutWriteAccess(folder), 0) << "the lock outlived its holder";

    fs::permissions(folder, fs::perms::owner_all);
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder)) ++entries;
    EXPECT_EQ(entries, 1u) << "the lock needs no file in the folder";
}

// Catches a lock that is not handed on whole when its holder moves, or
// released twice, and a folder that cannot be opened counted as taken.
TEST(SingleInstance, MovesWithItsHolderAndIsReleasedOnce) {
    test::TempDir dir;
    auto first = SingleInstance::claim(dir.path());
    ASSERT_TRUE(first.holdsLock());
    EXPECT_EQ(first.folder(), dir.path());
    SingleInstance kept = std::move(first);
    EXPECT_FALSE(first.holdsLock());
    EXPECT_TRUE(kept.holdsLock());
    EXPECT_TRUE(SingleInstance::claim(dir.path()).anotherInstanceRuns());

    SingleInstance other;
    other = std::move(kept);
    EXPECT_TRUE(SingleInstance::claim(dir.path()).anotherInstanceRuns()) << "the move released the lock";
    other = SingleInstance();
    EXPECT_TRUE(SingleInstance::claim(dir.path()).holdsLock());

    const auto missing = SingleInstance::claim(dir / "no-such-folder");
    EXPECT_FALSE(missing.holdsLock());
    EXPECT_FALSE(missing.anotherInstanceRuns());
}

}  // namespace
}  // namespace cd::mainwindow
