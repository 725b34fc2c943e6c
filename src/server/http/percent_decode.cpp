#include "http/percent_decode.h"

#include "util/text.h"

namespace cd::server::http {

std::optional<std::string> percentDecode(std::string_view text, bool plusIsSpace) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+' && plusIsSpace) {
            out += ' ';
            continue;
        }
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size()) return std::nullopt;
        const int hi = util::hexDigit(text[i + 1]);
        const int lo = util::hexDigit(text[i + 2]);
        if (hi < 0 || lo < 0) return std::nullopt;
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
    }
    return out;
}

std::optional<std::string> formField(std::string_view body, std::string_view key) {
    std::size_t pos = 0;
    while (pos <= body.size()) {
        std::size_t amp = body.find('&', pos);
        if (amp == std::string_view::npos) amp = body.size();
        const std::string_view part = body.substr(pos, amp - pos);
        const std::size_t eq = part.find('=');
        if (eq != std::string_view::npos && part.substr(0, eq) == key) return percentDecode(part.substr(eq + 1), true);
        pos = amp + 1;
    }
    return std::nullopt;
}

}  // namespace cd::server::http
