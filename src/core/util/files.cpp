#include "util/files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <random>
#include <system_error>

#include "util/text.h"

namespace cd::util {

namespace fs = std::filesystem;

std::optional<std::string> readFile(const fs::path& path) {
    std::error_code ec;
    if (fs::is_directory(path, ec)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string data;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size > 0) {
        data.resize(static_cast<std::size_t>(size));
        in.seekg(0, std::ios::beg);
        in.read(data.data(), size);
        if (in.gcount() != size) return std::nullopt;
    }
    return data;
}

namespace {

bool setError(std::string* error, const std::string& what) {
    if (error) *error = what;
    return false;
}

std::string tempNameFor(const fs::path& path) {
    static std::mt19937_64 rng{std::random_device{}()};
    return "." + path.filename().string() + ".tmp" + std::to_string(rng() & 0xffffffffu);
}

bool writeAll(int fd, std::string_view bytes) {
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

bool writeFileAtomic(const fs::path& path, std::string_view bytes, std::string* error) {
    std::error_code ec;
    if (fs::is_directory(path, ec)) return setError(error, path.string() + " is a folder");
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    const fs::path temp = folder / tempNameFor(path);
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return setError(error, temp.string() + ": " + std::strerror(errno));
    const bool written = writeAll(fd, bytes) && ::fsync(fd) == 0;
    const int savedErrno = errno;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed) {
        ::unlink(temp.c_str());
        return setError(error, path.string() + ": " + std::strerror(written ? errno : savedErrno));
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        const int e = errno;
        ::unlink(temp.c_str());
        return setError(error, path.string() + ": " + std::strerror(e));
    }
    // Make the rename itself durable, so a crash right after cannot bring
    // back the old name pointing at nothing.
    const int dfd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return true;
}

bool fileExists(const fs::path& path) {
    std::error_code ec;
    const auto st = fs::status(path, ec);
    if (!ec && fs::is_regular_file(st)) return true;
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    const std::string name = path.filename().string();
    if (name.empty()) return false;
    fs::directory_iterator it(folder, ec);
    if (ec) return false;
    for (const auto& entry : it) {
        if (!iequals(entry.path().filename().string(), name)) continue;
        if (entry.is_regular_file(ec)) return true;
    }
    return false;
}

bool removeFile(const fs::path& path) {
    std::error_code ec;
    if (fs::is_directory(path, ec)) return false;
    fs::remove(path, ec);
    return !fs::exists(fs::symlink_status(path, ec));
}

namespace {

/// ".NAME.tmpDIGITS", as tempNameFor makes them.
bool isTemporaryName(const std::string& name) {
    if (name.size() < 6 || name[0] != '.') return false;
    const auto tmp = name.rfind(".tmp");
    if (tmp == std::string::npos || tmp == 0 || tmp + 4 == name.size()) return false;
    for (std::size_t i = tmp + 4; i < name.size(); ++i)
        if (name[i] < '0' || name[i] > '9') return false;
    return true;
}

}  // namespace

std::size_t removeStaleTemporaries(const fs::path& folder, std::chrono::seconds minAge) {
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) return 0;
    const auto cutoff = fs::file_time_type::clock::now() - minAge;
    std::size_t removed = 0;
    // increment(ec), not the range-for's throwing ++: a folder that fails
    // to read halfway ends the sweep, not the start-up.
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) break;
        const fs::directory_entry& entry = *it;
        if (!isTemporaryName(entry.path().filename().string())) continue;
        std::error_code entryError;
        if (!entry.is_regular_file(entryError) || entryError) continue;
        const auto written = entry.last_write_time(entryError);
        if (entryError || written > cutoff) continue;
        if (fs::remove(entry.path(), entryError) && !entryError) ++removed;
    }
    return removed;
}

}  // namespace cd::util
