#pragma once
// Letter case for the localization file's UTF-8 text. Language names and
// translations are compared and raised the way a user reads them, so the
// accented letters of Western European languages fold as well as A-Z
// ("français" equals "FRANÇAIS", "écran" is raised to "Écran"). Other
// characters are left as they are.
#include <string>
#include <string_view>

namespace cd::localization {

/// Upper case of UTF-8 text: ASCII letters and the Latin-1 letters
/// U+00E0..U+00FE (except U+00F7) are raised; every other byte is kept.
std::string upperText(std::string_view s);

/// True when a and b are equal once both are raised with upperText.
bool equalsIgnoringCase(std::string_view a, std::string_view b);

/// The text with its first character raised as upperText raises it.
std::string raiseFirst(std::string s);

}  // namespace cd::localization
