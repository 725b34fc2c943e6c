#include "formats/page_scraper.h"

#include <fcntl.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "util/files.h"
#include "util/text.h"

namespace cd::formats {

namespace {

constexpr std::string_view kAnchor = "<a href=\"/watch?";

// The anchor's letters compared without case, its punctuation exactly.
bool anchorAt(const char* p) {
    for (std::size_t i = 0; i < kAnchor.size(); ++i)
        if (util::asciiLower(p[i]) != kAnchor[i]) return false;
    return true;
}

std::size_t findAnchor(std::string_view text, std::size_t from) {
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    if (text.size() < kAnchor.size()) return std::string_view::npos;
    const char* const lastStart = end - kAnchor.size();
    const char* p = begin + from;
    while (p <= lastStart) {
        const void* hit = std::memchr(p, '<', static_cast<std::size_t>(lastStart - p) + 1);
        if (!hit) break;
        p = static_cast<const char*>(hit);
        if (anchorAt(p)) return static_cast<std::size_t>(p - begin);
        ++p;
    }
    return std::string_view::npos;
}

// Start of the line holding pos: after the CR that ends the line before,
// and after an LF right behind that CR.
std::size_t lineStartOf(std::string_view text, std::size_t pos) {
    const void* cr = pos == 0 ? nullptr : ::memrchr(text.data(), '\r', pos);
    if (!cr) return 0;
    std::size_t start = static_cast<std::size_t>(static_cast<const char*>(cr) - text.data()) + 1;
    if (start < text.size() && text[start] == '\n') ++start;
    return start;
}

bool writeAll(int fd, const std::string& text) {
    static const char kCrLf[] = "\r\n";
    iovec parts[2] = {{const_cast<char*>(text.data()), text.size()}, {const_cast<char*>(kCrLf), 2}};
    std::size_t left = text.size() + 2;
    int first = 0;
    while (left > 0) {
        const ssize_t n = ::writev(fd, parts + first, 2 - first);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        left -= static_cast<std::size_t>(n);
        std::size_t done = static_cast<std::size_t>(n);
        while (first < 2 && done >= parts[first].iov_len) {
            done -= parts[first].iov_len;
            ++first;
        }
        if (first < 2) {
            parts[first].iov_base = static_cast<char*>(parts[first].iov_base) + done;
            parts[first].iov_len -= done;
        }
    }
    return true;
}

}  // namespace

void SplitTagsIntoLines(std::string& page) {
    std::size_t opening = 0;
    for (std::size_t i = page.find('<'); i != std::string::npos; i = page.find('<', i + 1))
        if (i + 1 >= page.size() || page[i + 1] != '/') ++opening;
    if (opening == 0) return;
    std::string out;
    out.resize(page.size() + 2 * opening);
    char* o = out.data();
    std::size_t pos = 0;
    for (;;) {
        const std::size_t lt = page.find('<', pos);
        const std::size_t stop = lt == std::string::npos ? page.size() : lt;
        std::memcpy(o, page.data() + pos, stop - pos);
        o += stop - pos;
        if (lt == std::string::npos) break;
        if (lt + 1 >= page.size() || page[lt + 1] != '/') {
            *o++ = '\r';
            *o++ = '\n';
        }
        *o++ = '<';
        pos = lt + 1;
    }
    page.swap(out);
}

std::optional<Video> ParseVideoLine(std::string_view line) {
    if (findAnchor(line, 0) == std::string_view::npos) return std::nullopt;
    const std::size_t gt = line.find('>');
    if (gt == std::string_view::npos) return std::nullopt;
    const std::string_view firstPiece = line.substr(0, gt);
    std::string_view secondPiece = line.substr(gt + 1);
    secondPiece = secondPiece.substr(0, secondPiece.find('>'));
    const std::size_t lt = secondPiece.find('<');
    if (lt == std::string_view::npos || lt == 0) return std::nullopt;

    const std::size_t q1 = firstPiece.find('"');
    if (q1 == std::string_view::npos) return std::nullopt;
    std::string_view target = firstPiece.substr(q1 + 1);
    target = target.substr(0, target.find('"'));

    Video link;
    link.id = util::ireplaceAll(target, "/watch?v=", "");
    link.title = std::string(secondPiece.substr(0, lt));
    if (link.title.find('&') != std::string::npos)
        link.title = util::ireplaceAll(util::ireplaceAll(link.title, "&amp;", "&"), "&quot;", "\"");
    return link;
}

std::vector<Video> ScrapeVideoLines(std::string_view text) {
    std::vector<Video> videos;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t hit = findAnchor(text, pos);
        if (hit == std::string_view::npos) break;
        const std::size_t start = lineStartOf(text, hit);
        std::size_t end = text.find('\r', hit);
        if (end == std::string_view::npos) end = text.size();
        if (auto video = ParseVideoLine(text.substr(start, end - start))) videos.push_back(std::move(*video));
        pos = end + 1;
    }
    return videos;
}

PageScraper::PageScraper(std::filesystem::path programFolder) : scratch_(std::move(programFolder) / kScratchFileName) {}

std::optional<std::string> PageScraper::roundTrip(const std::string& text) const {
    // Truncated, not appended to: a scratch file left behind by an earlier
    // run must not bring its videos back.
    const int fd = ::open(scratch_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0) return std::nullopt;
    const bool written = writeAll(fd, text);
    const bool closed = ::close(fd) == 0;
    std::optional<std::string> back;
    if (written && closed) back = util::readFile(scratch_);
    util::removeFile(scratch_);
    return back;
}

std::vector<Video> PageScraper::parseVideoPage(std::string& page) {
    SplitTagsIntoLines(page);
    auto back = roundTrip(page);
    lastUsedScratchFile_ = back.has_value();
    // Without a writable folder the same lines are scraped from memory, so a
    // read-only installation still lists videos.
    if (back) page = std::move(*back);
    return ScrapeVideoLines(page);
}

}  // namespace cd::formats
