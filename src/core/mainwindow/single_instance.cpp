#include "mainwindow/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace cd::mainwindow {

SingleInstance::SingleInstance(const std::filesystem::path& lockFile) {
    fd_ = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0) return;  // cannot tell: let this instance run
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        another_ = (errno == EWOULDBLOCK);
        ::close(fd_);
        fd_ = -1;
    }
}

SingleInstance::~SingleInstance() {
    if (fd_ >= 0) ::close(fd_);
}

}  // namespace cd::mainwindow
