// M3U and PLS playlists: any bytes, read both ways and made into channels.
// No parse may crash; every record made must read back from a channel file
// exactly as written, within the line limit; no address may be taken twice;
// the counts must add up; and the M3U export of the channels must import
// back into the same channels.
#include <cstdint>
#include <string>
#include <string_view>

#include "formats/channel.h"
#include "formats/line_cipher.h"
#include "formats/m3u_playlist.h"
#include "formats/playlist_channels.h"
#include "formats/pls_playlist.h"
#include "fuzz_support.h"
#include "util/display_text.h"
#include "util/lines.h"

namespace {

using namespace cd;

void checkChannels(const formats::ParsedPlaylist& parsed, const formats::PlaylistChannels& made,
                   const formats::KnownAddresses& known) {
    CD_FUZZ_CHECK(made.channels.size() + made.skipped() == parsed.entries.size() + parsed.unreadable);
    CD_FUZZ_CHECK(known.size() == made.channels.size());
    std::string file;
    for (const formats::Channel& c : made.channels) {
        CD_FUZZ_CHECK(!c.address.empty() && formats::isPlayableAddress(c.address));
        CD_FUZZ_CHECK(known.contains(c.address));
        CD_FUZZ_CHECK(!c.name.empty());
        CD_FUZZ_CHECK(!formats::categoryOfGroup(c.category).empty());
        const std::string line = formats::recordLine(c);
        CD_FUZZ_CHECK(line.size() <= formats::kCipherLineLimit);
        CD_FUZZ_CHECK(formats::EncodesIntact(line));
        file += formats::EncodeLine(line) + "\r\n";
    }
    // Read back as every reader of a channel file reads it: line by line.
    std::size_t i = 0;
    util::forEachLine(file, [&](std::string_view encoded) {
        std::size_t fields = 0;
        const auto back = formats::parseRecordLine(formats::DecodeLine(encoded), &fields);
        CD_FUZZ_CHECK(i < made.channels.size());
        CD_FUZZ_CHECK(back.has_value() && fields == 4);
        CD_FUZZ_CHECK(*back == made.channels[i]);
        ++i;
        return true;
    });
    CD_FUZZ_CHECK(i == made.channels.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::asText(data, size);

    const formats::ParsedPlaylist m3u = formats::parseM3u(bytes);
    formats::KnownAddresses known;
    const formats::PlaylistChannels made = formats::channelsOfEntries(m3u, "Radio", known);
    checkChannels(m3u, made, known);

    const formats::ParsedPlaylist pls = formats::parsePls(bytes);
    formats::KnownAddresses plsKnown;
    checkChannels(pls, formats::channelsOfEntries(pls, "TV", plsKnown), plsKnown);

    // The export reads back into the same channels, where the format can
    // say them: its file is UTF-8, so an address that is not comes back
    // converted, and a double quote in the languages attribute as a single one.
    bool utf8Addresses = true;
    for (const auto& c : made.channels) utf8Addresses = utf8Addresses && util::displayText(c.address) == c.address;
    if (utf8Addresses) {
        formats::KnownAddresses again;
        const formats::PlaylistChannels back =
            formats::channelsOfPlaylist(formats::writeM3u(made.channels), "Video", again);
        CD_FUZZ_CHECK(back.skipped() == 0);
        CD_FUZZ_CHECK(back.channels.size() == made.channels.size());
        for (std::size_t i = 0; i < back.channels.size() && i < made.channels.size(); ++i) {
            formats::Channel expected = made.channels[i];
            for (char& ch : expected.languages)
                if (ch == '"') ch = '\'';
            CD_FUZZ_CHECK(back.channels[i] == expected);
        }
    }
    return 0;
}
