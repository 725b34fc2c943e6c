#pragma once
// Text put into an HTML page (the generated player page, the catalogue
// server's owner page): the five markup characters as character references.
#include <string>
#include <string_view>

namespace cd::util {

/// &, <, >, " and ' as character references; every other byte as it is.
std::string htmlEscape(std::string_view text);

}  // namespace cd::util
