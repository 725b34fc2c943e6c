#pragma once
#include <string_view>

namespace cd::fetch {

/// The online test of a fetched channel text: offline when it is blank
/// (spaces only trimmed) or holds, in any letter case, "[Reference]",
/// "Not Available", "404", "Error", "Not Found" or "No web site is configured".
bool IsOnline(std::string_view text);

}  // namespace cd::fetch
