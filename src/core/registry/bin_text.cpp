#include "registry/bin_text.h"

#include "util/text.h"

namespace cd::registry {

namespace {

std::string withoutSpaces(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (char c : s)
        if (c != ' ') out.push_back(c);
    return out;
}

}  // namespace

std::string StrToBin(std::string& sBin) {
    sBin = withoutSpaces(sBin);
    const std::size_t length = sBin.size();
    // Half the length rounded to the nearest whole number, ties to the even
    // one: 5 characters convert 2 pieces, 7 convert 4, 1 converts none.
    std::size_t pieces = length / 2;
    if (length % 2 == 1 && pieces % 2 == 1) ++pieces;
    std::string out;
    out.reserve(pieces);
    for (std::size_t i = 0; i < pieces; ++i) {
        const std::string_view piece = std::string_view(sBin).substr(2 * i, 2);
        unsigned value = 0;
        for (char c : piece) {
            const int d = util::hexDigit(c);
            if (d < 0) break;
            value = value * 16 + static_cast<unsigned>(d);
        }
        out.push_back(static_cast<char>(value));
    }
    return out;
}

std::string StrToBin(std::string_view sBin) {
    std::string copy(sBin);
    return StrToBin(copy);
}

std::string BinToStr(std::string_view sStr) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(sStr.size() * 3);
    for (char c : sStr) {
        const auto b = static_cast<unsigned char>(c);
        out.push_back(' ');
        out.push_back(kDigits[b >> 4]);
        out.push_back(kDigits[b & 0x0F]);
    }
    return out;
}

bool isBinValid(std::string_view sBin) {
    const std::string s = withoutSpaces(sBin);
    if (s.empty()) return false;
    for (char c : s)
        if (util::hexDigit(c) < 0) return false;
    return true;
}

}  // namespace cd::registry
