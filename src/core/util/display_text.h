#pragma once
// The one decoder from stored bytes to text. Catalogues written so far are in
// windows-1252; channels imported from playlists are in UTF-8, and both sit in
// the same lists. A text that is valid UTF-8 and holds a byte above 127 cannot
// be told from windows-1252 by anything but its validity, and plain
// windows-1252 names are practically never valid UTF-8, so validity decides.
#include <string>
#include <string_view>

namespace cd::util {

/// True when bytes are well-formed UTF-8: no stray continuation bytes, no
/// overlong forms, no surrogates, nothing above U+10FFFF.
bool isValidUtf8(std::string_view bytes);

/// The text of stored bytes (a line or one of its fields), as UTF-8: the
/// bytes themselves when they are valid UTF-8 and hold a byte above 127,
/// else the bytes read as windows-1252. ASCII comes back unchanged, so a
/// single-byte catalogue shows exactly as before.
std::string displayText(std::string_view bytes);

}  // namespace cd::util
