#include "util/display_text.h"

#include "util/code_page.h"

namespace cd::util {

bool isValidUtf8(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    std::size_t i = 0;
    while (i < n) {
        const unsigned char b = p[i];
        if (b < 0x80) {
            ++i;
            continue;
        }
        std::size_t length;
        // The first continuation byte's range rules out overlong forms,
        // surrogates and code points past U+10FFFF in one check.
        unsigned char low = 0x80, high = 0xBF;
        if (b >= 0xC2 && b <= 0xDF) {
            length = 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            length = 3;
            if (b == 0xE0) low = 0xA0;
            if (b == 0xED) high = 0x9F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            length = 4;
            if (b == 0xF0) low = 0x90;
            if (b == 0xF4) high = 0x8F;
        } else {
            return false;
        }
        if (n - i < length) return false;
        if (p[i + 1] < low || p[i + 1] > high) return false;
        for (std::size_t k = 2; k < length; ++k)
            if (p[i + k] < 0x80 || p[i + k] > 0xBF) return false;
        i += length;
    }
    return true;
}

std::string displayText(std::string_view bytes) {
    bool high = false;
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            high = true;
            break;
        }
    }
    if (!high || isValidUtf8(bytes)) return std::string(bytes);
    return codePageToUtf8(bytes);
}

}  // namespace cd::util
