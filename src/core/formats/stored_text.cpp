#include "formats/stored_text.h"

#include <utf8proc.h>

#include <cstdlib>
#include <memory>

#include "util/display_text.h"
#include "util/text.h"

namespace cd::formats {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

bool isAscii(std::string_view bytes) {
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

}  // namespace

std::string toNfc(std::string_view utf8) {
    if (isAscii(utf8)) return std::string(utf8);
    utf8proc_uint8_t* mapped = nullptr;
    const utf8proc_ssize_t n =
        utf8proc_map(reinterpret_cast<const utf8proc_uint8_t*>(utf8.data()), static_cast<utf8proc_ssize_t>(utf8.size()),
                     &mapped, static_cast<utf8proc_option_t>(UTF8PROC_STABLE | UTF8PROC_COMPOSE));
    const std::unique_ptr<utf8proc_uint8_t, decltype(&std::free)> owner(mapped, &std::free);
    if (n < 0 || !mapped) return std::string(utf8);
    return std::string(reinterpret_cast<const char*>(mapped), static_cast<std::size_t>(n));
}

std::string storedText(std::string_view bytes) {
    std::string text = util::displayText(bytes);
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
        if (c == '|') c = '/';
    }
    text = toNfc(text);
    // In valid UTF-8, byte 255 never occurs and byte 204 only leads the two
    // bytes of U+0300 to U+033F: combining marks that NFC could not join to
    // a letter.
    if (text.find('\xCC') != std::string::npos) {
        std::string safe;
        safe.reserve(text.size() + 8);
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\xCC') {
                safe += kReplacement;
                if (i + 1 < text.size()) ++i;
            } else {
                safe += text[i];
            }
        }
        text = std::move(safe);
    }
    return std::string(util::trimWhitespace(text));
}

std::string_view utf8Prefix(std::string_view utf8, std::size_t maxBytes) {
    if (utf8.size() <= maxBytes) return utf8;
    std::size_t end = maxBytes;
    // Back up over continuation bytes to the start of the cut character.
    while (end > 0 && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) --end;
    return utf8.substr(0, end);
}

}  // namespace cd::formats
