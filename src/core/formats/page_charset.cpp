#include "formats/page_charset.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "util/code_page.h"
#include "util/display_text.h"
#include "util/text.h"

namespace cd::formats {

namespace {

constexpr std::size_t kMetaScanBytes = 4096;

bool isNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
           c == '.' || c == ':';
}

// The value after "charset" and "=" in text from from on, unquoted; "" when
// there is none.
std::string charsetAfter(std::string_view lower, std::size_t from) {
    std::size_t at = lower.find("charset", from);
    while (at != std::string_view::npos) {
        std::size_t i = at + 7;
        while (i < lower.size() && (lower[i] == ' ' || lower[i] == '\t')) ++i;
        if (i < lower.size() && lower[i] == '=') {
            ++i;
            while (i < lower.size() && (lower[i] == ' ' || lower[i] == '\t' || lower[i] == '"' || lower[i] == '\''))
                ++i;
            std::size_t end = i;
            while (end < lower.size() && isNameChar(lower[end])) ++end;
            if (end > i) return std::string(lower.substr(i, end - i));
        }
        at = lower.find("charset", at + 7);
    }
    return {};
}

std::string metaCharset(std::string_view body) {
    const std::string lower = util::toLower(body.substr(0, std::min(body.size(), kMetaScanBytes)));
    for (std::size_t meta = lower.find("<meta"); meta != std::string::npos; meta = lower.find("<meta", meta + 5)) {
        const std::size_t end = lower.find('>', meta);
        const std::string_view tag =
            std::string_view(lower).substr(meta, end == std::string::npos ? std::string::npos : end - meta);
        if (std::string value = charsetAfter(tag, 0); !value.empty()) return value;
    }
    return {};
}

bool isUtf8Name(const std::string& name) { return name == "utf-8" || name == "utf8"; }

bool isWindows1252Name(const std::string& name) {
    static const std::array<const char*, 9> names = {"windows-1252", "cp1252",  "x-cp1252", "iso-8859-1", "iso8859-1",
                                                     "latin1",       "latin-1", "us-ascii", "ascii"};
    return std::any_of(names.begin(), names.end(), [&](const char* n) { return name == n; });
}

void appendCodePoint(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// UTF-8 with each malformed sequence replaced by U+FFFD, so a page that
// declares UTF-8 and breaks it shows what is sound.
std::string repairUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        std::size_t len = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 0;
        if (len > 0 && i + len <= bytes.size() && util::isValidUtf8(bytes.substr(i, len))) {
            out.append(bytes.substr(i, len));
            i += len;
        } else {
            appendCodePoint(out, 0xFFFD);
            ++i;
        }
    }
    return out;
}

}  // namespace

std::string DeclaredCharset(std::string_view contentType, std::string_view body) {
    if (std::string fromHeader = charsetAfter(util::toLower(contentType), 0); !fromHeader.empty()) return fromHeader;
    return metaCharset(body);
}

std::string DecodePageText(std::string_view body, std::string_view contentType) {
    const std::string charset = DeclaredCharset(contentType, body);
    if (isUtf8Name(charset)) return repairUtf8(body);
    if (isWindows1252Name(charset)) return util::codePageToUtf8(body);
    return util::isValidUtf8(body) ? std::string(body) : util::codePageToUtf8(body);
}

}  // namespace cd::formats
