#include "formats/search_filter.h"

#include <utf8proc.h>

#include <cstring>

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

}  // namespace

void appendSearchKey(std::string_view bytes, std::string& out) {
    if (isAscii(bytes)) {
        appendAsciiKey(bytes, out);
        return;
    }
    appendUnicodeKey(util::displayText(bytes), out);
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
