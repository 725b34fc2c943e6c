#pragma once
// The line syntax of REGEDIT4 registry scripts that the export writes and
// the import reads. Names and string values are quoted strings in which
// "\\" and "\"" are the only escapes, so a backslash that escapes nothing
// (C:\Temp) reads as itself. A string value holding a CR or LF is written
// as hex(1) bytes instead, so one value is always one line: a value can
// never end its line and start a section of its own. Lines that are not
// quoted that way (written by older versions of this program, which quoted
// without escaping, or by hand) are read by the old rule: every double
// quote removed, the name up to the first "=", the data up to the second.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace cd::formats {

/// text in double quotes, every "\" and "\"" in it preceded by a "\".
std::string RegQuoted(std::string_view text);
/// Bytes as upper-case two-digit hexadecimal pairs separated by commas
/// ("01,AB"); "" for no bytes.
std::string RegHexList(std::string_view bytes);
/// What follows "=" for a string value: the quoted text, or, when the text
/// holds a CR or LF, "hex(1):" and its bytes with a final 00.
std::string RegStringData(std::string_view text);

/// A value line of a section, read.
struct RegValueLine {
    std::string name;
    /// The unquoted name "@" (or "@" under the old rule): the default value
    /// when the data is a string.
    bool defaultName = false;
    /// For quoted data the string it holds; otherwise the data as written
    /// after "=" (a type prefix and its data, "-", or text read by the old rule).
    std::string data;
    bool quoted = false;
};

/// Reads a line of a section, trimmed of spaces (not a section, comment or
/// empty line). Nothing when the line holds no "=": it is no value line.
std::optional<RegValueLine> ReadRegValueLine(std::string_view line);

/// The type code N of data that starts with "hex(N):" in any letter case,
/// and where the byte list after the colon starts.
struct RegHexType {
    std::uint32_t type;
    std::size_t listStart;
};
std::optional<RegHexType> ReadRegHexType(std::string_view data);

/// The bytes of a comma-separated list of one- or two-digit hexadecimal
/// numbers, spaces allowed around each; "" gives no bytes. Nothing when a
/// piece is anything else.
std::optional<std::string> ReadRegHexList(std::string_view list);

/// The text a string value of the given type (1, 2 or 7) holds for the
/// bytes of its hex(N) data: without the final 00; for type 7 the strings
/// joined by a line feed.
std::string RegTextOfHexString(std::string bytes, std::uint32_t type);

}  // namespace cd::formats
