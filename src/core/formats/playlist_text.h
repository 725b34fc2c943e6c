#pragma once
// The text layer shared by the playlist formats. Playlists come from every
// kind of program and system: a UTF-8 byte-order mark may lead, and lines
// end with LF, CR LF or CR, mixed within one file.
#include <string_view>

namespace cd::formats {

/// text without a leading UTF-8 byte-order mark.
inline std::string_view withoutByteOrderMark(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    return text;
}

/// Calls f(line) for each line of text, lines ending at LF, CR LF or CR
/// (the end itself not passed on). A last line without its end counts; an
/// end at the very end of the text makes no empty line after it.
template <typename F>
void forEachPlaylistLine(std::string_view text, F&& f) {
    // A plain scan: find_first_of would call memchr once per byte.
    const std::size_t size = text.size();
    std::size_t pos = 0;
    while (pos < size) {
        std::size_t end = pos;
        while (end < size && text[end] != '\r' && text[end] != '\n') ++end;
        f(text.substr(pos, end - pos));
        if (end == size) return;
        pos = end + 1;
        if (text[end] == '\r' && pos < size && text[pos] == '\n') ++pos;
    }
}

}  // namespace cd::formats
