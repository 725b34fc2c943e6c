#pragma once
// The binary text form of the registry layer: bytes written as two-digit
// hexadecimal pairs, " 4A 00 FF".
#include <string>
#include <string_view>

namespace cd::registry {

/// StrToBin: removes every space from sBin (the caller's text changes too),
/// cuts it into two-character pieces and converts half its length, rounded
/// half to even, of them; each piece counts its hexadecimal digits up to the
/// first other character (none gives 0) and becomes one byte.
std::string StrToBin(std::string& sBin);
/// As above, for text the caller keeps unchanged.
std::string StrToBin(std::string_view sBin);

/// BinToStr: one space and the upper-case two-digit code of each byte; "" for no bytes.
std::string BinToStr(std::string_view sStr);

/// isBinValid: with spaces removed, non-empty and made only of hexadecimal digits.
bool isBinValid(std::string_view sBin);

}  // namespace cd::registry
