#pragma once
// The check a Data.htm passes before anyone takes it as a catalogue: the
// line "<data>", one record per line, each encoded with the line cipher or
// plain (the editor's export key), and the line "</data>". A damaged file (wrong
// line ends, a cut-off file, a line that is no record) is refused whole,
// with the line that is wrong, so neither the server's catalogue in service
// nor a user's Data.txt is ever replaced by a broken one.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "formats/channel.h"

namespace cd::formats {

/// The largest Data.htm accepted.
inline constexpr std::size_t kMaxExportBytes = 64 * 1024 * 1024;

enum class ExportProblem {
    None,
    TooLarge,
    Empty,
    NoStartLine,  // the first line is not "<data>": not the export format
    NoEndLine,    // the last line is not "</data>": cut off
    LineTooLong,
    NotARecord,
    NoRecord,
};

struct ExportCheck {
    bool ok = false;
    ExportProblem problem = ExportProblem::None;
    /// The 1-based line that is wrong, for the problems of one line.
    std::size_t line = 0;
    /// Why it was refused (when not ok), in English words naming the line.
    std::string error;
    std::vector<Channel> records;
    std::size_t encodedLines = 0;
    std::size_t plainLines = 0;
};

/// Checks body and reads its records (decoded where encoded).
ExportCheck checkExport(std::string_view body);

}  // namespace cd::formats
