#include "formats/playlist_channels.h"

#include <gtest/gtest.h>

#include <string>

#include "formats/line_cipher.h"
#include "formats/stored_text.h"

namespace cd::formats {
namespace {

PlaylistChannels channelsOf(const std::string& playlist, const std::string& category = "TV") {
    KnownAddresses known;
    return channelsOfPlaylist(playlist, category, known);
}

// The record as a reader of the channel file gets it back.
Channel readBack(const Channel& c) {
    std::size_t fields = 0;
    const auto back = parseRecordLine(DecodeLine(EncodeLine(recordLine(c))), &fields);
    EXPECT_EQ(fields, 4u);
    return back.value_or(Channel{});
}

// Catches an address the program cannot open taken as a channel, or one it
// can open refused.
TEST(PlaylistChannels, OnlyAddressesThePlayerOpens) {
    for (const char* playable : {"http://a/b", "HTTPS://a/b", "rtsp://cam:554/s", "rtsps://cam/s", "rtmp://h/app",
                                 "rtmps://h/app", "mms://h/s", "mmsh://h/s", "mmst://h/s", "http://u:p@h/x?a=1;b=2"})
        EXPECT_TRUE(isPlayableAddress(playable)) << playable;
    for (const char* other : {"file:///tmp/a.ts", "stream.ts", "/abs/path.ts", "C:\\video.ts", "udp://@239.0.0.1:1234",
                              "ftp://h/a", "http:/one-slash", "http://", "javascript:alert(1)", "httpx://h/a"})
        EXPECT_FALSE(isPlayableAddress(other)) << other;
    const auto result = channelsOf("http://a/1\nfile:///x.ts\nrelative/x.ts\nudp://@1.2.3.4:5\nmmsh://b/2\n");
    ASSERT_EQ(result.channels.size(), 2u);
    EXPECT_EQ(result.notPlayable, 3u);
    EXPECT_EQ(result.channels[1].address, "mmsh://b/2");
}

// Catches the adult mapping missing, category words compared with letter
// case, a group that names no category overriding the chosen one, and
// languages joined with their blanks.
TEST(PlaylistChannels, CategoriesFromGroupsAndLanguagesJoinedBySlash) {
    const auto result = channelsOf(
        "#EXTINF:-1 group-title=\"adult\",A\nhttp://x/1\n"
        "#EXTINF:-1 group-title=\"ADULT\",B\nhttp://x/2\n"
        "#EXTINF:-1 group-title=\"xxx\",C\nhttp://x/3\n"
        "#EXTINF:-1 group-title=\"radio\",D\nhttp://x/4\n"
        "#EXTINF:-1 group-title=\"Video\",E\nhttp://x/5\n"
        "#EXTINF:-1 group-title=\"tv\",F\nhttp://x/6\n"
        "#EXTINF:-1 group-title=\"News\",G\nhttp://x/7\n"
        "#EXTINF:-1,H\n#EXTGRP:Adult\nhttp://x/8\n"
        "#EXTINF:-1 tvg-language=\"English; French , German/ Spanish;;\",I\nhttp://x/9\n"
        "#EXTINF:-1 tvg-language=\"Fran\xE7\x61is|Deutsch\",J\nhttp://x/10\n",
        "Radio");
    ASSERT_EQ(result.channels.size(), 10u);
    const char* categories[] = {"XXX", "XXX", "XXX", "Radio", "Video", "TV", "Radio", "XXX", "Radio", "Radio"};
    for (std::size_t i = 0; i < 10; ++i) EXPECT_EQ(result.channels[i].category, categories[i]) << i;
    EXPECT_EQ(result.channels[8].languages, "English/French/German/Spanish");
    EXPECT_EQ(result.channels[9].languages, "Fran\xC3\xA7\x61is/Deutsch");
    EXPECT_EQ(result.channels[0].languages, "");
    EXPECT_EQ(channelsOf("http://x/1\n", "video").channels[0].category, "Video");
    EXPECT_EQ(channelsOf("http://x/1\n", "Sport").channels[0].category, "TV");
}

// Catches names that break the record ("|"), differ by normalization form,
// stay windows-1252, or hold bytes the cipher cannot carry; and an entry
// without a title left nameless.
TEST(PlaylistChannels, NamesAreSafeNfcUtf8AndReadBackAsWritten) {
    const auto result = channelsOf(
        "#EXTINF:-1,News | Weather\nhttp://x/1\n"
        "#EXTINF:-1,Cafe\xCC\x81 Crème\nhttp://x/2\n"    // NFD é, NFC è
        "#EXTINF:-1,Caf\xE9 \x93Live\x94\nhttp://x/3\n"  // windows-1252
        "#EXTINF:-1,q\xCC\x83 \xC3\xBF\nhttp://x/4\n"    // q + combining tilde (no precomposed form), ÿ
        "#EXTINF:-1,Tab\there\x01\nhttp://x/5\n"
        "#EXTINF:-1,   \nhttp://x/6?a=1\n");
    ASSERT_EQ(result.channels.size(), 6u);
    EXPECT_EQ(result.channels[0].name, "News / Weather");
    EXPECT_EQ(result.channels[1].name, "Caf\xC3\xA9 Cr\xC3\xA8me");
    EXPECT_EQ(result.channels[2].name, "Caf\xC3\xA9 \xE2\x80\x9CLive\xE2\x80\x9D");
    EXPECT_EQ(result.channels[3].name, "q\xEF\xBF\xBD \xC3\xBF");
    EXPECT_EQ(result.channels[4].name, "Tab here");
    EXPECT_EQ(result.channels[5].name, "http://x/6?a=1");
    for (const Channel& c : result.channels) {
        EXPECT_TRUE(EncodesIntact(recordLine(c))) << c.name;
        EXPECT_EQ(readBack(c), c);
    }
}

// Catches duplicates let through (from the file, from the playlist itself)
// and addresses no record can hold taken: a "|" shifts the fields, a
// control byte or 204 breaks the line, and an address past the line limit
// would stop every reader of the file.
TEST(PlaylistChannels, DuplicatesAndAddressesNoRecordHolds) {
    KnownAddresses known = {"http://known/1"};
    const std::string huge = "http://h/" + std::string(kCipherLineLimit, 'a');
    const auto result = channelsOfPlaylist(
        "http://known/1\n"
        "http://new/1\n"
        "#EXTINF:-1,Again\nhttp://new/1\n"
        "http://kodi/stream|User-Agent=x\n"
        "http://bytes/\xCC\n"
        "http://ctl/\x01x\n" +
            huge + "\n",
        "TV", known);
    ASSERT_EQ(result.channels.size(), 1u);
    EXPECT_EQ(result.duplicates, 2u);
    EXPECT_EQ(result.unreadable, 4u);
    EXPECT_EQ(result.skipped(), 6u);
    EXPECT_TRUE(known.contains("http://new/1"));
}

// Catches a long name making a record the readers refuse, or one cut in the
// middle of a character.
TEST(PlaylistChannels, LongNamesAreShortenedToFitTheLineLimit) {
    std::string name;
    while (name.size() < 40000) name += "\xC3\xA9t\xC3\xA9 ";
    const auto result = channelsOf("#EXTINF:-1 tvg-language=\"English\"," + name + "x\nhttp://x/1\n");
    ASSERT_EQ(result.channels.size(), 1u);
    const Channel& c = result.channels[0];
    EXPECT_LE(recordLine(c).size(), kCipherLineLimit);
    EXPECT_GT(recordLine(c).size(), kCipherLineLimit - 8);
    EXPECT_EQ(storedText(c.name), c.name);  // whole characters, no edge blanks
    EXPECT_EQ(readBack(c), c);

    // Room for one byte of name: an ASCII name keeps its first letter, a name
    // whose first character is wider cannot be stored at all.
    const std::string address = "http://h/" + std::string(kCipherLineLimit - 6 - 9, 'a');
    const auto tight = channelsOf("#EXTINF:-1,xyz\n" + address + "\n#EXTINF:-1,\xC3\xA9t\xC3\xA9\n" +
                                  address.substr(0, address.size() - 1) + "b\n");
    ASSERT_EQ(tight.channels.size(), 1u);
    EXPECT_EQ(tight.channels[0].name, "x");
    EXPECT_EQ(recordLine(tight.channels[0]).size(), kCipherLineLimit);
    EXPECT_EQ(tight.unreadable, 1u);
}

}  // namespace
}  // namespace cd::formats
