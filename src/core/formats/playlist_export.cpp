#include "formats/playlist_export.h"

#include "formats/channel_file.h"
#include "formats/m3u_playlist.h"
#include "util/files.h"

namespace cd::formats {

ExportResult exportPlaylist(const std::filesystem::path& channelFile, const std::filesystem::path& out,
                            const CategoryFilter& filter, std::string_view search) {
    ExportResult result;
    const ListedChannels listed = listChannels(channelFile, filter, search);
    if (!listed.complete) {
        result.error = channelFile.string() + ": " + listed.problem;
        return result;
    }
    if (!util::writeFileAtomic(out, writeM3u(listed.channels), &result.error)) return result;
    result.ok = true;
    result.channels = listed.channels.size();
    return result;
}

}  // namespace cd::formats
