#include "formats/pls_playlist.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "formats/playlist_text.h"
#include "util/text.h"

namespace cd::formats {

namespace {

struct Numbered {
    std::string file, title;
};

// The N of "FileN" after its word; nothing when the rest is not a number.
std::optional<std::uint64_t> entryNumber(std::string_view key, std::string_view word) {
    if (key.size() <= word.size() || !util::iequals(key.substr(0, word.size()), word)) return std::nullopt;
    const std::string_view digits = key.substr(word.size());
    if (digits.size() > 18) return std::nullopt;
    std::uint64_t n = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        n = n * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return n;
}

bool isPlaylistHeader(std::string_view line) { return util::iequals(line, "[playlist]"); }

}  // namespace

bool looksLikePls(std::string_view text) {
    bool found = false, decided = false;
    forEachPlaylistLine(withoutByteOrderMark(text), [&](std::string_view raw) {
        if (decided) return;
        const std::string_view line = util::trimWhitespace(raw);
        if (line.empty()) return;
        decided = true;
        found = isPlaylistHeader(line);
    });
    return found;
}

ParsedPlaylist parsePls(std::string_view text) {
    std::map<std::uint64_t, Numbered> numbered;
    bool inPlaylist = false;
    forEachPlaylistLine(withoutByteOrderMark(text), [&](std::string_view raw) {
        const std::string_view line = util::trimWhitespace(raw);
        if (line.empty() || line[0] == ';' || line[0] == '#') return;
        if (line[0] == '[') {
            inPlaylist = isPlaylistHeader(line);
            return;
        }
        const std::size_t eq = line.find('=');
        if (!inPlaylist || eq == std::string_view::npos) return;
        const std::string_view key = util::trimWhitespace(line.substr(0, eq));
        const std::string_view value = util::trimWhitespace(line.substr(eq + 1));
        if (const auto n = entryNumber(key, "File")) {
            numbered[*n].file = value;
        } else if (const auto t = entryNumber(key, "Title")) {
            numbered[*t].title = value;
        } else if (const auto l = entryNumber(key, "Length")) {
            numbered[*l];  // an entry begun: without its file it is unreadable
        }
    });
    ParsedPlaylist playlist;
    for (auto& [n, entry] : numbered) {
        if (entry.file.empty()) {
            ++playlist.unreadable;
            continue;
        }
        PlaylistEntry e;
        e.address = std::move(entry.file);
        e.title = std::move(entry.title);
        playlist.entries.push_back(std::move(e));
    }
    return playlist;
}

}  // namespace cd::formats
