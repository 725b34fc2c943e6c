#pragma once
// The rules that make channels of a playlist's entries: which addresses the
// program can play, which are already known, what category and name a
// channel gets, and how every record is kept within what the catalogue
// format and its line cipher carry.
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "formats/channel.h"
#include "formats/playlist_entry.h"

namespace cd::formats {

/// Addresses already listed somewhere; an entry with one of them is a duplicate.
using KnownAddresses = std::unordered_set<std::string>;

struct PlaylistChannels {
    std::vector<Channel> channels;  // in playlist order
    std::size_t notPlayable = 0;    // an address of another scheme, a relative path, file:, ...
    std::size_t duplicates = 0;     // already known, or earlier in the playlist
    std::size_t unreadable = 0;     // an entry without an address, or one no record can hold

    std::size_t skipped() const { return notPlayable + duplicates + unreadable; }
};

/// True for the addresses a channel may have: http and https, and the
/// streaming schemes the player opens itself (rtsp, rtsps, rtmp, rtmps, mms,
/// mmsh, mmst), as SCHEME:// and something after it, the scheme in any
/// letter case.
bool isPlayableAddress(std::string_view address);

/// The category of a group: "TV", "Radio", "Video" or "XXX" for those words
/// in any letter case, "XXX" for "Adult"; empty for any other group.
std::string categoryOfGroup(std::string_view group);

/// The channels of a playlist (M3U, M3U8 or PLS, told apart by its text).
/// An entry's category is that of its group, else defaultCategory (one of
/// the four categories in any letter case, else "TV"); its name
/// is its title, else its address, as storedText makes it; its languages are
/// tvg-language split at ";", "," and "/" and joined by "/". An address that
/// holds "|", a control character or a byte the line cipher cannot carry is
/// unreadable; so is an entry whose record would be longer than the
/// catalogue's line limit even with its name and languages shortened. Every
/// address taken is added to known.
PlaylistChannels channelsOfPlaylist(std::string_view playlist, std::string_view defaultCategory, KnownAddresses& known);

/// As channelsOfPlaylist, for entries already read.
PlaylistChannels channelsOfEntries(const ParsedPlaylist& playlist, std::string_view defaultCategory,
                                   KnownAddresses& known);

}  // namespace cd::formats
