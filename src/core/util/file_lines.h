#pragma once
// The lines of a file under the program's line rule (util/lines.h), read a
// piece at a time: a catalogue of a million records is filtered without
// holding the whole file, and without the page faults of a fresh buffer of
// its size on every category switch.
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string_view>

namespace cd::util {

enum class FileLinesResult {
    Complete,    // every line was passed on
    Stopped,     // the callback returned false
    TooLong,     // a line longer than maxLine: reading ended before it
    Unreadable,  // the file could not be opened or read (lines before may have been passed on)
};

/// Calls f(line) for each line of the file, as forEachLine would for its
/// whole text; a line is valid only during its call. A line longer than
/// maxLine bytes is not passed on: it ends the reading (so a file without
/// line ends cannot make this hold more than about maxLine bytes).
FileLinesResult forEachLineOfFile(const std::filesystem::path& path, std::size_t maxLine,
                                  const std::function<bool(std::string_view line)>& f);

}  // namespace cd::util
