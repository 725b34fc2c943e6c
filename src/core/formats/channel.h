#pragma once
// A channel as the file formats hand it on: the four fields of a catalogue
// record. Name and languages are bytes as stored: windows-1252 in the
// catalogues written so far, UTF-8 in what is imported from playlists
// (util::displayText tells them apart).
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace cd::formats {

inline constexpr char kFieldSeparator = '|';

struct Channel {
    std::string name;
    std::string address;
    std::string category;   // "TV", "Radio", "Video" or "XXX"
    std::string languages;  // several names joined by "/"

    bool operator==(const Channel&) const = default;
};

/// The plain record line of a channel: name|address|category|languages.
/// Nothing escapes "|": a field that holds one shifts the fields after it.
std::string recordLine(const Channel& channel);

/// The channel of a decoded record line, split on every "|": further fields
/// are ignored and missing ones read empty. Nothing when the line holds no
/// "|" (it is no record). fieldCount, when given, receives how many fields
/// the line held, so a reader can tell a short record from empty fields.
std::optional<Channel> parseRecordLine(std::string_view decodedLine, std::size_t* fieldCount = nullptr);

}  // namespace cd::formats
