#pragma once
// Catalogue text on the owner's page and in its JSON. Names and addresses
// are bytes as the program sent them: UTF-8 when they are valid UTF-8 with a
// byte above 127, otherwise windows-1252 (the catalogue's code page), the
// program's own rule. Everything shown is escaped for where it goes.
#include <string>
#include <string_view>

namespace cd::server::owner {

/// Catalogue bytes as UTF-8 text; control characters become U+FFFD.
std::string displayText(std::string_view bytes);

/// &, <, >, " and ' as character references.
std::string htmlEscape(std::string_view text);

/// text (UTF-8) as a JSON string literal, quotes included.
std::string jsonString(std::string_view text);

}  // namespace cd::server::owner
