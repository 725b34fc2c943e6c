#pragma once
// Catalogue, favourites and page text is bytes of the single-byte code page
// existing catalogue files are written in (windows-1252); captions and
// messages are UTF-8. These turn the one into the other where both meet.
#include <string>
#include <string_view>

namespace cd::util {

/// windows-1252 bytes as UTF-8. The five bytes the code page leaves
/// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the control characters of
/// the same value, so nothing is lost.
std::string codePageToUtf8(std::string_view bytes);

}  // namespace cd::util
