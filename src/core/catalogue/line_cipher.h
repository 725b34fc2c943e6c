#pragma once
// The line cipher of catalogue, export and favourites lines: every byte is
// shifted by 64, wrapping by 255 (not 256), so byte 255 reads back as 0 and
// an encoded line never holds a 0 byte.
#include <string>
#include <string_view>

namespace cd::catalogue {

inline constexpr int kCipherShift = 64;

std::string EncodeLine(std::string_view line);
std::string DecodeLine(std::string_view line);
/// Decodes into out (resized to fit), for readers that reuse one buffer.
void DecodeLineInto(std::string_view line, std::string& out);

}  // namespace cd::catalogue
