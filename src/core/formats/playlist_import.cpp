#include "formats/playlist_import.h"

#include <system_error>

#include "formats/channel_file.h"
#include "formats/playlist_channels.h"
#include "util/file_lock.h"
#include "util/files.h"
#include "util/text.h"

namespace cd::formats {

namespace {

namespace fs = std::filesystem;

// A missing file holds no channels; one that is there but cannot be read is
// an error, or its records would be lost, or duplicated.
bool readChannelFile(const fs::path& file, std::string& bytes, std::string& error) {
    std::error_code ec;
    if (fs::symlink_status(file, ec).type() == fs::file_type::not_found) {
        bytes.clear();
        return true;
    }
    auto data = util::readFile(file);
    if (!data) {
        error = file.string() + " cannot be read";
        return false;
    }
    bytes = std::move(*data);
    return true;
}

ImportResult failed(std::string error) {
    ImportResult result;
    result.error = std::move(error);
    return result;
}

}  // namespace

ImportResult importPlaylist(std::string_view playlist, const fs::path& channelFile, const ImportOptions& options) {
    KnownAddresses known;
    if (!options.alreadyThere.empty()) {
        std::string bytes, error;
        if (!readChannelFile(options.alreadyThere, bytes, error)) return failed(error);
        addAddressesOf(bytes, known);
    }

    std::string error;
    const auto lock = util::FileWriteLock::acquire(channelFile, &error);
    if (!lock) return failed(error);
    std::string bytes;
    if (!readChannelFile(channelFile, bytes, error)) return failed(error);
    addAddressesOf(bytes, known);

    PlaylistChannels channels = channelsOfPlaylist(playlist, options.category, known);
    ImportResult result;
    result.notPlayable = channels.notPlayable;
    result.duplicates = channels.duplicates;
    result.unreadable = channels.unreadable;
    if (!channels.channels.empty() &&
        !util::writeFileAtomic(channelFile, withRecordsAppended(bytes, channels.channels), &result.error))
        return result;
    result.ok = true;
    result.added = std::move(channels.channels);
    return result;
}

std::string describe(const ImportResult& result) {
    return "imported " + util::decimal(static_cast<long long>(result.added.size())) + ", skipped " +
           util::decimal(static_cast<long long>(result.skipped())) + " (not http/https " +
           util::decimal(static_cast<long long>(result.notPlayable)) + ", duplicates " +
           util::decimal(static_cast<long long>(result.duplicates)) + ", unreadable " +
           util::decimal(static_cast<long long>(result.unreadable)) + ")";
}

}  // namespace cd::formats
