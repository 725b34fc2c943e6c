#pragma once
// The text of a fetched listing page. Pages come in whatever character set
// their server chose; the lists hold UTF-8 (or windows-1252 bytes, which the
// display tells apart by validity), so a page is turned into UTF-8 before it
// is scraped.
#include <string>
#include <string_view>

namespace cd::formats {

/// The character set a page declares, lower case: the charset parameter of
/// contentType (the Content-Type header) first, else a <meta charset=...>
/// or <meta http-equiv="Content-Type" content="...; charset=..."> in the
/// page's first 4096 bytes; "" when it declares none.
std::string DeclaredCharset(std::string_view contentType, std::string_view body);

/// body as UTF-8: decoded by its declared character set when that is UTF-8
/// (malformed bytes become U+FFFD), windows-1252 or one of its subsets
/// (ISO-8859-1, ASCII); without a usable declaration UTF-8 when the body is
/// valid UTF-8, else windows-1252.
std::string DecodePageText(std::string_view body, std::string_view contentType);

}  // namespace cd::formats
