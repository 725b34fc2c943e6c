#include "localization/case_fold.h"

#include "util/text.h"

namespace cd::localization {

namespace {

// In UTF-8, U+00E0..U+00FE are C3 A0..C3 BE; their capitals (U+00C0..U+00DE)
// are the same second byte less 0x20. U+00F7 is the division sign.
constexpr unsigned char kLatin1Lead = 0xC3;

bool raisesLatin1(unsigned char second) { return second >= 0xA0 && second <= 0xBE && second != 0xB7; }

}  // namespace

std::string upperText(std::string_view s) {
    std::string out(s);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const auto c = static_cast<unsigned char>(out[i]);
        if (c == kLatin1Lead && i + 1 < out.size()) {
            const auto next = static_cast<unsigned char>(out[i + 1]);
            if (raisesLatin1(next)) out[i + 1] = static_cast<char>(next - 0x20);
            ++i;
            continue;
        }
        out[i] = util::asciiUpper(out[i]);
    }
    return out;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && upperText(a) == upperText(b);
}

std::string raiseFirst(std::string s) {
    if (s.empty()) return s;
    const auto c = static_cast<unsigned char>(s[0]);
    if (c == kLatin1Lead && s.size() > 1) {
        const auto next = static_cast<unsigned char>(s[1]);
        if (raisesLatin1(next)) s[1] = static_cast<char>(next - 0x20);
        return s;
    }
    s[0] = util::asciiUpper(s[0]);
    return s;
}

}  // namespace cd::localization
