#pragma once
// Writers of one file take turns. A read-change-replace of a file (read it,
// add to it, writeFileAtomic) loses the other's change when two run at once,
// so each writer holds this lock from its read to its rename. The lock is an
// flock on a lock file beside the file (".NAME.lock"), not on the file
// itself: the rename puts a new file under the name, and a writer that
// locked the old one would not keep out one that opened the new one.
#include <filesystem>
#include <optional>
#include <string>

namespace cd::util {

class FileWriteLock {
public:
    /// Waits until no other writer of file holds the lock, then holds it
    /// until destroyed. Nothing when the lock file cannot be made or locked
    /// (a read-only folder, for one); error then says why.
    static std::optional<FileWriteLock> acquire(const std::filesystem::path& file, std::string* error = nullptr);

    /// The lock file that guards file.
    static std::filesystem::path lockFileFor(const std::filesystem::path& file);

    ~FileWriteLock();
    FileWriteLock(FileWriteLock&& other) noexcept;
    FileWriteLock& operator=(FileWriteLock&& other) noexcept;
    FileWriteLock(const FileWriteLock&) = delete;
    FileWriteLock& operator=(const FileWriteLock&) = delete;

private:
    explicit FileWriteLock(int fd) : fd_(fd) {}
    int fd_ = -1;
};

}  // namespace cd::util
