#include "formats/search_filter.h"

#include <utf8proc.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "util/display_text.h"

namespace cd::formats {

namespace {

constexpr char kKeyEnd = '\0';

bool isAscii(std::string_view bytes) {
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

void appendAsciiKey(std::string_view ascii, std::string& out) {
    const std::size_t old = out.size();
    out.resize(old + ascii.size());
    char* dest = out.data() + old;
    for (const char c : ascii) {
        // Case folding of ASCII is lowering A-Z; controls become blanks,
        // so no key holds the NUL that ends it in the index.
        *dest++ = c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : (c < 0x20 || c == 0x7F) ? ' ' : c;
    }
}

// The full Unicode path, for text with anything beyond ASCII.
void appendUnicodeKey(const std::string& utf8, std::string& out) {
    constexpr auto options =
        static_cast<utf8proc_option_t>(UTF8PROC_DECOMPOSE | UTF8PROC_COMPAT | UTF8PROC_CASEFOLD | UTF8PROC_IGNORE);
    thread_local std::vector<utf8proc_int32_t> points;
    if (points.size() < utf8.size() + 16) points.resize(utf8.size() + 16);
    const auto* in = reinterpret_cast<const utf8proc_uint8_t*>(utf8.data());
    const auto length = static_cast<utf8proc_ssize_t>(utf8.size());
    utf8proc_ssize_t n =
        utf8proc_decompose(in, length, points.data(), static_cast<utf8proc_ssize_t>(points.size()), options);
    if (n > static_cast<utf8proc_ssize_t>(points.size())) {
        points.resize(static_cast<std::size_t>(n));
        n = utf8proc_decompose(in, length, points.data(), n, options);
    }
    if (n < 0) {
        // Not reachable for displayText's output, which is valid UTF-8.
        appendAsciiKey(utf8, out);
        return;
    }
    utf8proc_uint8_t encoded[4];
    for (utf8proc_ssize_t i = 0; i < n; ++i) {
        utf8proc_int32_t c = points[static_cast<std::size_t>(i)];
        const utf8proc_category_t category = utf8proc_category(c);
        // Accents and the like: what is left of "é" once decomposed is "e"
        // and the combining acute, which is dropped. Spacing marks stay (the
        // vowel signs of Indic scripts carry meaning).
        if (category == UTF8PROC_CATEGORY_MN || category == UTF8PROC_CATEGORY_ME) continue;
        if (category == UTF8PROC_CATEGORY_CC) c = ' ';
        const utf8proc_ssize_t bytes = utf8proc_encode_char(c, encoded);
        out.append(reinterpret_cast<const char*>(encoded), static_cast<std::size_t>(bytes));
    }
}

// The keys of the code points below kTableLimit (Latin, Greek, Cyrillic,
// Hebrew, Arabic, the Indic scripts, ...), made once with the full path, so
// that filling a list of accented names costs a table look-up per character.
// Decomposition, case folding and dropping marks work character by
// character; the one thing the full path does across characters is to
// reorder combining marks, which cannot change a key whose marks are all
// dropped. A character whose key keeps a mark with a combining class sends
// its text the full way.
class FoldTable {
public:
    static constexpr char32_t kTableLimit = 0x3000;

    static const FoldTable& get() {
        static const FoldTable table;
        return table;
    }

    /// Appends the key of valid UTF-8; false, with out as it was, when the
    /// text needs the full path.
    bool append(std::string_view utf8, std::string& out) const {
        const std::size_t old = out.size();
        const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
        const std::size_t n = utf8.size();
        for (std::size_t i = 0; i < n;) {
            char32_t c = p[i];
            std::size_t length = 1;
            if (c >= 0xF0) {
                length = 4;  // past the table in any case
            } else if (c >= 0xE0) {
                length = 3;
                c = ((c & 0x0F) << 12) | ((p[i + 1] & 0x3Fu) << 6) | (p[i + 2] & 0x3Fu);
            } else if (c >= 0xC0) {
                length = 2;
                c = ((c & 0x1F) << 6) | (p[i + 1] & 0x3Fu);
            }
            if (length == 4 || c >= kTableLimit || whole_[c]) {
                out.resize(old);
                return false;
            }
            out.append(bytes_, start_[c], start_[c + 1] - start_[c]);
            i += length;
        }
        return true;
    }

private:
    FoldTable() : start_(kTableLimit + 1), whole_(kTableLimit, false) {
        std::string one;
        for (char32_t c = 0; c < kTableLimit; ++c) {
            start_[c] = static_cast<std::uint32_t>(bytes_.size());
            utf8proc_uint8_t encoded[4];
            one.assign(reinterpret_cast<const char*>(encoded),
                       static_cast<std::size_t>(utf8proc_encode_char(static_cast<utf8proc_int32_t>(c), encoded)));
            const std::size_t keyStart = bytes_.size();
            appendUnicodeKey(one, bytes_);
            utf8proc_int32_t kept = 0;
            for (std::size_t i = keyStart; i < bytes_.size();) {
                const utf8proc_ssize_t used =
                    utf8proc_iterate(reinterpret_cast<const utf8proc_uint8_t*>(bytes_.data()) + i,
                                     static_cast<utf8proc_ssize_t>(bytes_.size() - i), &kept);
                if (used <= 0) break;
                if (utf8proc_get_property(kept)->combining_class != 0) whole_[c] = true;
                i += static_cast<std::size_t>(used);
            }
        }
        start_[kTableLimit] = static_cast<std::uint32_t>(bytes_.size());
    }

    std::vector<std::uint32_t> start_;  // where each code point's key starts in bytes_
    std::string bytes_;
    std::vector<bool> whole_;
};

}  // namespace

void appendSearchKey(std::string_view bytes, std::string& out) {
    if (isAscii(bytes)) {
        appendAsciiKey(bytes, out);
        return;
    }
    const std::string text = util::displayText(bytes);
    if (!FoldTable::get().append(text, out)) appendUnicodeKey(text, out);
}

std::string searchKey(std::string_view bytes) {
    std::string key;
    appendSearchKey(bytes, key);
    return key;
}

bool nameMatches(std::string_view name, std::string_view typed) {
    const std::string wanted = searchKey(typed);
    return wanted.empty() || searchKey(name).find(wanted) != std::string::npos;
}

void SearchIndex::clear() {
    keys_.clear();
    ends_.clear();
}

void SearchIndex::reserve(std::size_t rows, std::size_t bytes) {
    keys_.reserve(bytes + rows);
    ends_.reserve(rows);
}

void SearchIndex::add(std::string_view name) {
    appendSearchKey(name, keys_);
    ends_.push_back(keys_.size());
    keys_ += kKeyEnd;
}

void SearchIndex::find(std::string_view typed, std::vector<std::uint32_t>& rows) const {
    rows.clear();
    const std::string wanted = searchKey(typed);
    if (wanted.empty()) {
        rows.resize(ends_.size());
        for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<std::uint32_t>(i);
        return;
    }
    // One pass over all keys at once: no key holds a NUL and the typed key
    // holds none either, so a hit never spans two rows. After a hit the
    // search goes on at the next row, so a row is listed once. Where hits
    // are dense (the first letters of a text), the rows after a hit are
    // tried one by one, which costs less than starting a search over the
    // rest of the buffer for every row.
    const std::string_view all(keys_);
    const std::size_t rowCount = ends_.size();
    std::size_t pos = 0;
    std::size_t row = 0;
    while (row < rowCount) {
        const void* hit = ::memmem(all.data() + pos, all.size() - pos, wanted.data(), wanted.size());
        if (!hit) break;
        const auto at = static_cast<std::size_t>(static_cast<const char*>(hit) - all.data());
        while (ends_[row] < at) ++row;
        rows.push_back(static_cast<std::uint32_t>(row));
        for (++row; row < rowCount; ++row) {
            const std::size_t start = ends_[row - 1] + 1;
            if (all.substr(start, ends_[row] - start).find(wanted) == std::string_view::npos) break;
            rows.push_back(static_cast<std::uint32_t>(row));
        }
        if (row >= rowCount) break;
        pos = ends_[row] + 1;  // the row just tried holds no hit
        ++row;
    }
}

std::vector<std::uint32_t> SearchIndex::find(std::string_view typed) const {
    std::vector<std::uint32_t> rows;
    find(typed, rows);
    return rows;
}

}  // namespace cd::formats
