#pragma once
// Byte-string helpers shared by every subsystem. Case-insensitive means ASCII
// letters only: catalogue text is in a single-byte code page and the
// localization file in UTF-8, and folding only A-Z is safe for both.
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace cd::util {

char asciiUpper(char c);
char asciiLower(char c);
std::string toUpper(std::string_view s);
std::string toLower(std::string_view s);

/// True when a and b are equal ignoring ASCII letter case.
bool iequals(std::string_view a, std::string_view b);
/// Position of needle in hay at or after from, ignoring letter case; npos when absent.
/// An empty needle is found at from (when from <= hay.size()).
std::size_t ifind(std::string_view hay, std::string_view needle, std::size_t from = 0);
bool icontains(std::string_view hay, std::string_view needle);

/// Every occurrence of what replaced by with, scanning left to right without
/// rescanning replaced text. An empty what changes nothing.
std::string replaceAll(std::string_view s, std::string_view what, std::string_view with);
/// As replaceAll, occurrences found without regard to letter case.
std::string ireplaceAll(std::string_view s, std::string_view what, std::string_view with);

/// Splits at every sep; n separators give n + 1 pieces ("" gives one empty piece).
std::vector<std::string> split(std::string_view s, std::string_view sep);
std::vector<std::string_view> splitView(std::string_view s, char sep);

/// Removes leading and trailing space characters (only ' ').
std::string_view trimSpaces(std::string_view s);
/// Removes leading and trailing blanks, tabs, CRs and LFs (header values, playlist lines).
std::string_view trimWhitespace(std::string_view s);

bool startsWith(std::string_view s, std::string_view prefix);
/// First character raised to upper case (ASCII), the rest unchanged.
std::string upperFirst(std::string s);

/// text with "%1", "%2", ... replaced by args[0], args[1], ... in one pass,
/// so an argument that holds "%2" stays as it is.
std::string fillPlaceholders(std::string_view text, std::initializer_list<std::string_view> args);

/// The value of a hexadecimal digit (either letter case); -1 for any other character.
int hexDigit(char c);

/// Decimal text of n without separators or sign padding.
std::string decimal(long long n);

}  // namespace cd::util
