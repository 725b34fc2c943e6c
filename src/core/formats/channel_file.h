#pragma once
// A channel file: Data.txt, or Imported.txt beside it, in the same format:
// one record per line, each encoded with the line cipher, lines under the
// program's line rule (util/lines.h), written with CR LF.
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "formats/category_filter.h"
#include "formats/channel.h"
#include "formats/playlist_channels.h"

namespace cd::formats {

/// Adds the address of every record among a channel file's bytes to known.
void addAddressesOf(std::string_view fileBytes, KnownAddresses& known);

/// A channel file's bytes with the channels' records appended, encoded, each
/// ended by CR LF. The bytes already there stay as they are; a last line
/// without its line end gets one first, so it is not joined to the first
/// new record.
std::string withRecordsAppended(std::string_view fileBytes, const std::vector<Channel>& channels);

struct ListedChannels {
    std::vector<Channel> channels;  // in file order
    bool complete = false;          // false: the file could not be read to its end
    std::string problem;            // why, when not complete
};

/// The channels the category view lists from a channel file for filter,
/// narrowed to the names that match search (search_filter.h; an empty text
/// matches all). It reads as the view does and stops where the view stops:
/// at a line longer than the line limit, a record with fewer than three
/// fields, or a record of the category with fewer than four; channels holds
/// those listed up to there.
ListedChannels listChannels(const std::filesystem::path& file, const CategoryFilter& filter,
                            std::string_view search = {});

}  // namespace cd::formats
