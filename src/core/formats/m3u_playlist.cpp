#include "formats/m3u_playlist.h"

#include <optional>

#include "formats/playlist_text.h"
#include "util/display_text.h"
#include "util/text.h"

namespace cd::formats {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Where the title's comma is: the first comma outside double quotes. When
// the quotes do not pair up, the last one is taken as an ordinary character,
// so one stray quote in a title cannot swallow the whole line.
std::size_t titleComma(std::string_view info) {
    std::size_t quotes = 0;
    for (const char c : info) quotes += c == '"';
    const std::size_t lastQuote = quotes % 2 == 1 ? info.rfind('"') : std::string_view::npos;
    bool quoted = false;
    for (std::size_t i = 0; i < info.size(); ++i) {
        if (info[i] == '"' && i != lastQuote) quoted = !quoted;
        if (info[i] == ',' && !quoted) return i;
    }
    return std::string_view::npos;
}

// The attributes before the title: key="value", key=value or a bare word
// (the duration, a key without value), separated by blanks.
void readAttributes(std::string_view head, PlaylistEntry& entry) {
    bool haveGroup = false, haveLanguages = false;
    std::size_t i = 0;
    while (i < head.size()) {
        while (i < head.size() && isBlank(head[i])) ++i;
        const std::size_t keyStart = i;
        while (i < head.size() && !isBlank(head[i]) && head[i] != '=') ++i;
        const std::string_view key = head.substr(keyStart, i - keyStart);
        if (i >= head.size() || head[i] != '=') continue;
        ++i;
        std::string_view value;
        if (i < head.size() && head[i] == '"') {
            const std::size_t close = head.find('"', i + 1);
            const std::size_t end = close == std::string_view::npos ? head.size() : close;
            value = head.substr(i + 1, end - i - 1);
            i = close == std::string_view::npos ? head.size() : close + 1;
        } else {
            const std::size_t start = i;
            while (i < head.size() && !isBlank(head[i])) ++i;
            value = head.substr(start, i - start);
        }
        if (!haveGroup && util::iequals(key, "group-title")) {
            entry.group = util::trimWhitespace(value);
            haveGroup = true;
        } else if (!haveLanguages && util::iequals(key, "tvg-language")) {
            entry.languages = util::trimWhitespace(value);
            haveLanguages = true;
        }
    }
}

PlaylistEntry readExtinf(std::string_view info) {
    PlaylistEntry entry;
    const std::size_t comma = titleComma(info);
    if (comma != std::string_view::npos) entry.title = util::trimWhitespace(info.substr(comma + 1));
    readAttributes(info.substr(0, comma), entry);
    return entry;
}

bool startsWithNoCase(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && util::iequals(s.substr(0, prefix.size()), prefix);
}

// Attribute values are quoted and a title runs to the end of its line.
std::string safeText(std::string_view bytes, bool inQuotes) {
    std::string text = util::displayText(bytes);
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
        if (inQuotes && c == '"') c = '\'';
    }
    return text;
}

}  // namespace

ParsedPlaylist parseM3u(std::string_view text) {
    ParsedPlaylist playlist;
    std::optional<PlaylistEntry> pending;  // the #EXTINF waiting for its address
    std::string group;                     // the #EXTGRP since the last entry
    forEachPlaylistLine(withoutByteOrderMark(text), [&](std::string_view raw) {
        const std::string_view line = util::trimWhitespace(raw);
        if (line.empty()) return;
        if (line[0] == '#') {
            if (startsWithNoCase(line, "#EXTINF:")) {
                if (pending) ++playlist.unreadable;
                pending = readExtinf(line.substr(8));
            } else if (startsWithNoCase(line, "#EXTGRP:")) {
                group = util::trimWhitespace(line.substr(8));
            }
            return;
        }
        PlaylistEntry entry = pending ? std::move(*pending) : PlaylistEntry{};
        pending.reset();
        entry.address = line;
        if (entry.group.empty()) entry.group = std::move(group);
        group.clear();
        playlist.entries.push_back(std::move(entry));
    });
    if (pending) ++playlist.unreadable;
    return playlist;
}

std::string writeM3u(const std::vector<Channel>& channels) {
    std::string out = "#EXTM3U\n";
    for (const Channel& c : channels) {
        out += "#EXTINF:-1 tvg-language=\"";
        out += safeText(c.languages, true);
        out += "\" group-title=\"";
        out += safeText(c.category, true);
        out += "\",";
        out += safeText(c.name, false);
        out += '\n';
        out += safeText(c.address, false);
        out += '\n';
    }
    return out;
}

}  // namespace cd::formats
