#pragma once
// One channel of the catalogue: a decoded line split on every "|" into
// name, address, category and languages. Nothing escapes "|", so a name that
// holds one shifts the fields after it; fields past the fourth are ignored.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace cd::catalogue {

inline constexpr char kFieldSeparator = '|';

struct ChannelRecord {
    std::string name;       // field 0
    std::string address;    // field 1
    std::string category;   // field 2
    std::string languages;  // field 3, several names joined by "/"
    /// How many fields the line held (fields past the fourth included), so a
    /// reader can tell a short record from one with empty fields.
    std::size_t fieldCount = 0;

    bool operator==(const ChannelRecord&) const = default;
};

/// The fields of a decoded line as views into it, for readers that copy
/// them straight into their own rows.
struct RecordFields {
    std::string_view name, address, category, languages;
    std::size_t fieldCount = 0;
};

/// True when a decoded line is a record at all: it holds at least one "|".
bool IsRecordLine(std::string_view decodedLine);

/// The fields of a decoded line, or nothing when the line holds no "|".
/// Missing fields of a short record are empty views.
std::optional<RecordFields> SplitRecordFields(std::string_view decodedLine);

/// The record of a decoded line, or nothing when the line holds no "|".
/// Missing fields of a short record read empty (fieldCount tells them apart).
std::optional<ChannelRecord> ParseChannelRecord(std::string_view decodedLine);

/// The plain line of a record: name|address|category|languages.
std::string RecordLine(const ChannelRecord& record);

}  // namespace cd::catalogue
