#include "formats/line_cipher.h"

#include <cstring>

namespace cd::formats {

namespace {

// The byte rules. In arithmetic modulo 256, encoding adds 64 and one more
// for bytes above 191 (the wrap by 255), and decoding subtracts 64 and one
// more for bytes below 64.
inline unsigned char encodeByte(unsigned char c) {
    const int v = c + kCipherShift;
    return static_cast<unsigned char>(v > 255 ? v - 255 : v);
}
inline unsigned char decodeByte(unsigned char c) {
    const int v = c - kCipherShift;
    return static_cast<unsigned char>(v < 0 ? v + 255 : v);
}

#if defined(__GNUC__)
// Whole catalogues go through the decoder, so it works 16 bytes at a time;
// a lane comparison yields 0xFF (255) where true, exactly the wrap amount.
typedef unsigned char Lanes __attribute__((vector_size(16)));
constexpr std::size_t kLanes = sizeof(Lanes);

inline Lanes encodeLanes(Lanes v) {
    const Lanes wraps = (Lanes)(v > (unsigned char)(255 - kCipherShift));
    return v + (unsigned char)kCipherShift - wraps;
}
inline Lanes decodeLanes(Lanes v) {
    const Lanes wraps = (Lanes)(v < (unsigned char)kCipherShift);
    return v - (unsigned char)kCipherShift + wraps;
}
#endif

template <bool Encode>
void transform(std::string_view line, char* dest) {
    const auto* in = reinterpret_cast<const unsigned char*>(line.data());
    auto* out = reinterpret_cast<unsigned char*>(dest);
    const std::size_t n = line.size();
    std::size_t i = 0;
#if defined(__GNUC__)
    for (; i + kLanes <= n; i += kLanes) {
        Lanes v;
        std::memcpy(&v, in + i, kLanes);
        v = Encode ? encodeLanes(v) : decodeLanes(v);
        std::memcpy(out + i, &v, kLanes);
    }
#endif
    for (; i < n; ++i) out[i] = Encode ? encodeByte(in[i]) : decodeByte(in[i]);
}

}  // namespace

std::string EncodeLine(std::string_view line) {
    std::string out(line.size(), '\0');
    transform<true>(line, out.data());
    return out;
}

void DecodeLineInto(std::string_view line, std::string& out) {
    out.resize(line.size());
    transform<false>(line, out.data());
}

std::string DecodeLine(std::string_view line) {
    std::string out;
    DecodeLineInto(line, out);
    return out;
}

bool EncodesIntact(std::string_view plain) {
    // A plain scan: find_first_of would call memchr once per byte.
    for (const char c : plain)
        if (c == '\xcc' || c == '\xff') return false;
    return true;
}

}  // namespace cd::formats
