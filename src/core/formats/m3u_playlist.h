#pragma once
// M3U and M3U8, the exchange format of internet TV: an optional "#EXTM3U",
// then per entry an optional "#EXTINF:<duration> <attributes>,<title>" line
// and the address on the next line that is neither empty nor a "#" line.
// Attributes are key="value" pairs; values may hold blanks and commas.
#include <string>
#include <string_view>
#include <vector>

#include "formats/channel.h"
#include "formats/playlist_entry.h"

namespace cd::formats {

/// The entries of an M3U playlist. The title is the text after the first
/// comma outside double quotes (a quote that never closes is an ordinary
/// character), trimmed; group-title and tvg-language come from the
/// attributes (keys in any letter case), "#EXTGRP:NAME" gives the group of
/// an entry without group-title. Other "#" lines are skipped. An address
/// without an #EXTINF before it is an entry without a title.
ParsedPlaylist parseM3u(std::string_view text);

/// An M3U8 playlist of channels: "#EXTM3U", then per channel
/// `#EXTINF:-1 tvg-language="LANGUAGES" group-title="CATEGORY",NAME` and the
/// address; UTF-8 (names and languages through util::displayText), LF line
/// ends. What the format cannot carry is made safe: a control character
/// becomes a blank and a double quote inside an attribute a single one.
std::string writeM3u(const std::vector<Channel>& channels);

}  // namespace cd::formats
