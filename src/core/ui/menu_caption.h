#pragma once
// How a menu entry's caption is shown.
#include <string_view>

namespace cd::ui {

/// True when an entry with this caption is drawn as a separator line: the
/// caption "-" alone, as the menus and the localization file write it.
bool IsSeparatorCaption(std::string_view caption);

}  // namespace cd::ui
