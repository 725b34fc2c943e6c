#include "util/file_lines.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace cd::util {

namespace {

constexpr std::size_t kPieceBytes = 1 << 20;

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

/// Appends up to want bytes; 0 at the end of the file, -1 on an error.
long readPiece(int fd, std::string& buffer, std::size_t want) {
    const std::size_t old = buffer.size();
    buffer.resize(old + want);
    ssize_t n;
    do {
        n = ::read(fd, buffer.data() + old, want);
    } while (n < 0 && errno == EINTR);
    buffer.resize(old + (n > 0 ? static_cast<std::size_t>(n) : 0));
    return static_cast<long>(n);
}

}  // namespace

FileLinesResult forEachLineOfFile(const std::filesystem::path& path, std::size_t maxLine,
                                  const std::function<bool(std::string_view line)>& f) {
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) return FileLinesResult::Unreadable;

    std::string buffer;  // the unfinished line, then the piece read after it
    buffer.reserve(kPieceBytes + 64 * 1024);
    bool atEnd = false;
    while (!atEnd) {
        const long n = readPiece(fd.get(), buffer, kPieceBytes);
        if (n < 0) return FileLinesResult::Unreadable;
        atEnd = n == 0;

        // Whole lines only: up to the last CR whose next byte is known (an
        // LF after it belongs to its line end). At the end, everything.
        std::size_t cut = buffer.size();
        if (!atEnd) {
            const std::size_t lastCr = buffer.size() >= 2 ? buffer.rfind('\r', buffer.size() - 2) : std::string::npos;
            cut = lastCr == std::string::npos ? 0 : lastCr + 1 + (buffer[lastCr + 1] == '\n' ? 1 : 0);
        }
        std::size_t pos = 0;
        while (pos < cut) {
            const std::size_t cr = buffer.find('\r', pos);
            const std::size_t end = cr == std::string::npos || cr >= cut ? cut : cr;
            if (end - pos > maxLine) return FileLinesResult::TooLong;
            if (!f(std::string_view(buffer).substr(pos, end - pos))) return FileLinesResult::Stopped;
            pos = end == cut ? cut : end + 1;
            if (end != cut && pos < cut && buffer[pos] == '\n') ++pos;
        }
        buffer.erase(0, cut);
        // An unfinished line already over the limit will not come back under it.
        if (buffer.size() > maxLine + 1) return FileLinesResult::TooLong;
    }
    return FileLinesResult::Complete;
}

}  // namespace cd::util
