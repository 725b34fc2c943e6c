#include "util/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace cd::util {

namespace fs = std::filesystem;

fs::path FileWriteLock::lockFileFor(const fs::path& file) {
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    return folder / ("." + file.filename().string() + ".lock");
}

std::optional<FileWriteLock> FileWriteLock::acquire(const fs::path& file, std::string* error) {
    const fs::path lockFile = lockFileFor(file);
    // The lock file stays: removing it would let a writer that opened it
    // before the removal and one that creates it anew both hold "the" lock.
    const int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        if (error) *error = lockFile.string() + ": " + std::strerror(errno);
        return std::nullopt;
    }
    int locked;
    do {
        locked = ::flock(fd, LOCK_EX);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        if (error) *error = lockFile.string() + ": " + std::strerror(errno);
        ::close(fd);
        return std::nullopt;
    }
    return FileWriteLock(fd);
}

FileWriteLock::~FileWriteLock() {
    if (fd_ >= 0) ::close(fd_);
}

FileWriteLock::FileWriteLock(FileWriteLock&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

FileWriteLock& FileWriteLock::operator=(FileWriteLock&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

}  // namespace cd::util
