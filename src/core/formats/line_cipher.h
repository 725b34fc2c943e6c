#pragma once
// The line cipher of catalogue, export and favourites lines: every byte is
// shifted by 64, wrapping by 255 (not 256), so byte 255 reads back as 0 and
// an encoded line never holds a 0 byte.
#include <cstddef>
#include <string>
#include <string_view>

namespace cd::formats {

inline constexpr int kCipherShift = 64;
/// The longest line, in bytes, that the catalogue's readers accept; a
/// longer line is an error of whichever operation meets it.
inline constexpr std::size_t kCipherLineLimit = 32767;

/// Each byte c becomes c + 64, or c + 64 - 255 past 255; same length, same order.
std::string EncodeLine(std::string_view line);
/// Each byte c becomes c - 64, or c - 64 + 255 below 0; same length, same order.
std::string DecodeLine(std::string_view line);
/// Decodes into out (resized to fit), for readers that reuse one buffer.
void DecodeLineInto(std::string_view line, std::string& out);

/// False when an encoded plain line would not read back as it was: byte 204
/// encodes to CR, which ends the line there, and byte 255 decodes back as 0.
bool EncodesIntact(std::string_view plain);

}  // namespace cd::formats
