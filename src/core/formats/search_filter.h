#pragma once
// The search field over a channel list: a name matches a typed text when it
// contains it, ignoring letter case and accents, after Unicode
// normalization. Both sides are brought to one search key (decoded with
// util::displayText, compatibility-decomposed, case-folded, default-ignorable
// characters and nonspacing marks dropped, control characters made blanks),
// so "cafe" finds "Café", "CAFÉ" finds "cafe", and a name in composed or
// decomposed form is found either way.
//
// A list makes its keys once, when it is filled (SearchIndex); a keystroke
// is then one pass of a substring search over all of them.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cd::formats {

/// The search key of stored or typed bytes (see above). It never holds a
/// NUL byte.
std::string searchKey(std::string_view bytes);
/// As searchKey, appended to out.
void appendSearchKey(std::string_view bytes, std::string& out);

/// True when a name (stored bytes) matches a typed text; every name matches
/// a text whose key is empty.
bool nameMatches(std::string_view name, std::string_view typed);

/// The search keys of a list's rows, in row order.
class SearchIndex {
public:
    /// Forgets every row; the storage is kept for the next fill.
    void clear();
    /// Room for rows names of about bytes bytes in all.
    void reserve(std::size_t rows, std::size_t bytes);
    /// Adds the next row's name (stored bytes).
    void add(std::string_view name);
    std::size_t size() const { return ends_.size(); }

    /// The rows whose names match typed, ascending, into rows (cleared
    /// first); every row when the typed text's key is empty.
    void find(std::string_view typed, std::vector<std::uint32_t>& rows) const;
    std::vector<std::uint32_t> find(std::string_view typed) const;

private:
    std::string keys_;               // every key, each followed by a NUL
    std::vector<std::size_t> ends_;  // where each key's NUL is
};

}  // namespace cd::formats
