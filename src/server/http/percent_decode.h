#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace cd::server::http {

/// Percent-decodes text; nothing when a "%" is not followed by two hex
/// digits. "+" becomes a blank only with plusIsSpace (HTML form bodies).
std::optional<std::string> percentDecode(std::string_view text, bool plusIsSpace = false);

/// The value of key in a form body "a=1&b=2" (decoded), or nothing.
std::optional<std::string> formField(std::string_view body, std::string_view key);

}  // namespace cd::server::http
