#pragma once
// The program's one rule for reading lines of its text files: a line ends at
// CR, an LF right after that CR belongs to the line end, and a lone LF stays
// inside the line. The last line may lack its line end; a file that ends
// with a line end has no empty line after it.
#include <string>
#include <string_view>
#include <vector>

namespace cd::util {

/// Calls f(line) for each line of text under the rule above; f may return
/// false to stop early. Returns false when f stopped it.
template <typename F>
bool forEachLine(std::string_view text, F&& f) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t cr = text.find('\r', pos);
        if (cr == std::string_view::npos) {
            return f(text.substr(pos)) != false;
        }
        if (f(text.substr(pos, cr - pos)) == false) return false;
        pos = cr + 1;
        if (pos < text.size() && text[pos] == '\n') ++pos;
    }
    return true;
}

/// All lines of text under the rule above.
std::vector<std::string> readLines(std::string_view text);

/// Lines joined, each followed by CR LF.
std::string joinCrLf(const std::vector<std::string>& lines);

}  // namespace cd::util
