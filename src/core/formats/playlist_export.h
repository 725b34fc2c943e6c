#pragma once
// Exporting what a category view lists as an M3U8 playlist, for any player.
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "formats/category_filter.h"

namespace cd::formats {

struct ExportResult {
    bool ok = false;
    std::string error;         // why nothing was written, when not ok
    std::size_t channels = 0;  // how many the playlist holds
};

/// Writes the channels listChannels gives for filter and search to out as
/// writeM3u makes them, atomically. When the channel file cannot be read to
/// its end nothing is written: a playlist cut short would pass for whole.
ExportResult exportPlaylist(const std::filesystem::path& channelFile, const std::filesystem::path& out,
                            const CategoryFilter& filter, std::string_view search = {});

}  // namespace cd::formats
