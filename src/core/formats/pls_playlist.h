#pragma once
// PLS, the playlist of internet radio: an INI-style "[playlist]" section
// with FileN=ADDRESS and TitleN=TITLE per entry N.
#include <string_view>

#include "formats/playlist_entry.h"

namespace cd::formats {

/// True when the first line that is not blank is "[playlist]" (any letter
/// case), which is how a PLS file is told from an M3U one.
bool looksLikePls(std::string_view text);

/// The entries of a PLS playlist, in ascending order of N. Keys are read in
/// any letter case and only inside the [playlist] section; NumberOfEntries,
/// LengthN and Version are ignored. A FileN without TitleN is an entry
/// without a title; a TitleN or LengthN without FileN (or with an empty
/// one) counts as unreadable.
ParsedPlaylist parsePls(std::string_view text);

}  // namespace cd::formats
