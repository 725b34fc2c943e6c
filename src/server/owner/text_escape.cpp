#include "owner/text_escape.h"

#include <cstdio>

#include "util/display_text.h"
#include "util/html_escape.h"

namespace cd::server::owner {

namespace {

// The UTF-8 bytes of U+FFFD, the replacement character.
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

}  // namespace

std::string displayText(std::string_view bytes) {
    // The program's own decoder, then the C0 and C1 controls and DEL (which
    // include the bytes windows-1252 leaves undefined) made visible.
    const std::string text = util::displayText(bytes);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x20 || b == 0x7F) {
            out += kReplacement;
        } else if (b == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) < 0xA0) {
            out += kReplacement;  // U+0080..U+009F
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string htmlEscape(std::string_view text) { return util::htmlEscape(text); }

std::string jsonString(std::string_view text) {
    std::string out = "\"";
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20 || c == '<' || c == '>' || c == '&') {
            // Markup characters escaped too, so the JSON is safe inside a page.
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

}  // namespace cd::server::owner
