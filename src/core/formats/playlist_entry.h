#pragma once
// One entry of a playlist as its file gives it, before the rules that make
// a channel of it (playlist_channels.h). Texts are bytes as written.
#include <cstddef>
#include <string>
#include <vector>

namespace cd::formats {

struct PlaylistEntry {
    std::string title;      // trimmed; empty when the playlist gives none
    std::string address;    // trimmed; never empty
    std::string group;      // M3U group-title, else #EXTGRP; empty when neither
    std::string languages;  // M3U tvg-language as written

    bool operator==(const PlaylistEntry&) const = default;
};

struct ParsedPlaylist {
    std::vector<PlaylistEntry> entries;
    /// Entries begun but never finished: an #EXTINF that no address follows,
    /// a PLS title or number without its file.
    std::size_t unreadable = 0;
};

}  // namespace cd::formats
