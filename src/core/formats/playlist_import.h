#pragma once
// Importing a playlist into a channel file (the user's Imported.txt): the
// playlist's playable channels that are not there yet are added, and the
// file is replaced atomically under its writer lock, so two imports at once
// both land and a failed write leaves the old file whole.
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "formats/channel.h"

namespace cd::formats {

struct ImportOptions {
    /// The category of entries whose group names none ("TV", "Radio", "Video" or "XXX").
    std::string category = "TV";
    /// A second channel file whose addresses count as already there (the
    /// program passes Data.txt); none when empty or missing.
    std::filesystem::path alreadyThere;
};

struct ImportResult {
    bool ok = false;
    std::string error;           // why nothing was imported, when not ok
    std::vector<Channel> added;  // the records added, in playlist order
    std::size_t notPlayable = 0;
    std::size_t duplicates = 0;
    std::size_t unreadable = 0;

    std::size_t skipped() const { return notPlayable + duplicates + unreadable; }
};

/// Adds the channels of a playlist (M3U, M3U8 or PLS bytes, however they
/// were obtained) to channelFile, which is created when missing. An entry
/// whose address is in channelFile, in options.alreadyThere or earlier in
/// the playlist is a duplicate. The lock is held from the read of
/// channelFile to the rename of its new version; when nothing is new the
/// file is left untouched. On failure (a file that exists but cannot be
/// read, the lock, the write) nothing is added and the file stays as it was.
ImportResult importPlaylist(std::string_view playlist, const std::filesystem::path& channelFile,
                            const ImportOptions& options = {});

/// "imported N, skipped M (not http/https A, duplicates B, unreadable C)"
std::string describe(const ImportResult& result);

}  // namespace cd::formats
