#include "mainwindow/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace cd::mainwindow {

SingleInstance SingleInstance::claim(const std::filesystem::path& folder) {
    SingleInstance s;
    s.folder_ = folder;
    // Reading is all a directory can be opened for, and all flock needs.
    // A folder this process may not even read cannot be told apart from
    // one in use; rather than refuse to start over it, the instance runs
    // (without the folder's files it has nothing of its own to show).
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return s;
    int locked;
    do {
        locked = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        s.another_ = (errno == EWOULDBLOCK);
        ::close(fd);
        return s;
    }
    s.fd_ = fd;
    return s;
}

SingleInstance::~SingleInstance() {
    if (fd_ >= 0) ::close(fd_);
}

SingleInstance::SingleInstance(SingleInstance&& other) noexcept
    : folder_(std::move(other.folder_)),
      fd_(std::exchange(other.fd_, -1)),
      another_(std::exchange(other.another_, false)) {}

SingleInstance& SingleInstance::operator=(SingleInstance&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        folder_ = std::move(other.folder_);
        fd_ = std::exchange(other.fd_, -1);
        another_ = std::exchange(other.another_, false);
    }
    return *this;
}

}  // namespace cd::mainwindow
