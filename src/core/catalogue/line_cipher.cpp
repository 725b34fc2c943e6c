#include "catalogue/line_cipher.h"

namespace cd::catalogue {

namespace {
// Written without branches on the data so the compiler vectorizes the loops.
inline unsigned char encodeByte(unsigned char c) {
    const int v = c + kCipherShift;
    return static_cast<unsigned char>(v > 255 ? v - 255 : v);
}
inline unsigned char decodeByte(unsigned char c) {
    const int v = c - kCipherShift;
    return static_cast<unsigned char>(v < 0 ? v + 255 : v);
}
}  // namespace

std::string EncodeLine(std::string_view line) {
    std::string out(line.size(), '\0');
    const auto* in = reinterpret_cast<const unsigned char*>(line.data());
    auto* o = reinterpret_cast<unsigned char*>(out.data());
    for (std::size_t i = 0; i < line.size(); ++i) o[i] = encodeByte(in[i]);
    return out;
}

void DecodeLineInto(std::string_view line, std::string& out) {
    out.resize(line.size());
    const auto* in = reinterpret_cast<const unsigned char*>(line.data());
    auto* o = reinterpret_cast<unsigned char*>(out.data());
    for (std::size_t i = 0; i < line.size(); ++i) o[i] = decodeByte(in[i]);
}

std::string DecodeLine(std::string_view line) {
    std::string out;
    DecodeLineInto(line, out);
    return out;
}

}  // namespace cd::catalogue
