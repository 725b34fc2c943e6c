#include "formats/playlist_channels.h"

#include <array>

#include "formats/line_cipher.h"
#include "formats/m3u_playlist.h"
#include "formats/pls_playlist.h"
#include "formats/stored_text.h"
#include "util/text.h"

namespace cd::formats {

namespace {

constexpr std::array<std::string_view, 9> kPlayableSchemes = {"http",  "https", "rtsp", "rtsps", "rtmp",
                                                              "rtmps", "mms",   "mmsh", "mmst"};

// Bytes that would break the record or its line: "|" splits fields,
// controls (CR above all) split or garble lines, and 204 and 255 do not
// survive the cipher.
bool storableAddress(std::string_view address) {
    for (const char c : address) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F || c == kFieldSeparator) return false;
    }
    return EncodesIntact(address);
}

std::string joinedLanguages(std::string_view tvgLanguage) {
    std::string text = storedText(tvgLanguage);
    std::string joined;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        const std::size_t end = std::min(text.find_first_of(";,/", pos), text.size());
        const std::string_view piece = util::trimWhitespace(std::string_view(text).substr(pos, end - pos));
        if (!piece.empty()) {
            if (!joined.empty()) joined += '/';
            joined += piece;
        }
        pos = end + 1;
    }
    return joined;
}

}  // namespace

bool isPlayableAddress(std::string_view address) {
    const std::size_t colon = address.find("://");
    if (colon == std::string_view::npos || colon + 3 >= address.size()) return false;
    const std::string_view scheme = address.substr(0, colon);
    for (const std::string_view s : kPlayableSchemes)
        if (util::iequals(scheme, s)) return true;
    return false;
}

std::string categoryOfGroup(std::string_view group) {
    for (const char* category : {"TV", "Radio", "Video", "XXX"})
        if (util::iequals(group, category)) return category;
    if (util::iequals(group, "Adult")) return "XXX";
    return {};
}

PlaylistChannels channelsOfEntries(const ParsedPlaylist& playlist, std::string_view defaultCategory,
                                   KnownAddresses& known) {
    std::string fallback = categoryOfGroup(defaultCategory);
    if (fallback.empty()) fallback = "TV";
    PlaylistChannels result;
    result.unreadable = playlist.unreadable;
    result.channels.reserve(playlist.entries.size());
    known.reserve(known.size() + playlist.entries.size());
    for (const PlaylistEntry& entry : playlist.entries) {
        if (!storableAddress(entry.address)) {
            ++result.unreadable;
            continue;
        }
        if (!isPlayableAddress(entry.address)) {
            ++result.notPlayable;
            continue;
        }
        Channel channel;
        channel.address = entry.address;
        channel.category = categoryOfGroup(entry.group);
        if (channel.category.empty()) channel.category = fallback;
        // A record longer than the line limit would stop every reader of the
        // file at it; the name, then the languages, give way first.
        const std::size_t fixed = channel.address.size() + channel.category.size() + 3;
        if (fixed >= kCipherLineLimit) {
            ++result.unreadable;
            continue;
        }
        if (known.contains(channel.address)) {
            ++result.duplicates;
            continue;
        }
        std::string name = storedText(entry.title);
        if (name.empty()) name = storedText(entry.address);
        std::size_t room = kCipherLineLimit - fixed;
        channel.name = util::trimWhitespace(utf8Prefix(name, room));
        if (channel.name.empty()) {  // not even one character of it fits
            ++result.unreadable;
            continue;
        }
        known.insert(channel.address);
        room -= channel.name.size();
        const std::string joined = joinedLanguages(entry.languages);
        std::string_view languages = utf8Prefix(joined, room);
        // No separator or blank at the end of a cut list: it reads the same when split and joined again.
        while (!languages.empty() && (languages.back() == '/' || languages.back() == ' ')) languages.remove_suffix(1);
        channel.languages = languages;
        result.channels.push_back(std::move(channel));
    }
    return result;
}

PlaylistChannels channelsOfPlaylist(std::string_view playlist, std::string_view defaultCategory,
                                    KnownAddresses& known) {
    return channelsOfEntries(looksLikePls(playlist) ? parsePls(playlist) : parseM3u(playlist), defaultCategory, known);
}

}  // namespace cd::formats
