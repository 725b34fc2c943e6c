#pragma once
// Text from outside (a playlist's titles and languages) as a record stores
// it: UTF-8 in Unicode normalization form C, one line, no "|", and nothing
// the line cipher cannot carry, so a record reads back exactly as written.
#include <cstddef>
#include <string>
#include <string_view>

namespace cd::formats {

/// bytes decoded with util::displayText, control characters made blanks,
/// every "|" made "/", normalized to NFC, every character the line cipher
/// cannot carry (U+0300 to U+033F, whose UTF-8 starts with byte 204) made
/// U+FFFD, and trimmed of blanks.
std::string storedText(std::string_view bytes);

/// NFC of valid UTF-8 (utf8 itself when it cannot be normalized).
std::string toNfc(std::string_view utf8);

/// The longest start of utf8 of at most maxBytes that ends on a character
/// boundary.
std::string_view utf8Prefix(std::string_view utf8, std::size_t maxBytes);

}  // namespace cd::formats
