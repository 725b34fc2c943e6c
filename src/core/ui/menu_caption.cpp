#include "ui/menu_caption.h"

namespace cd::ui {

bool IsSeparatorCaption(std::string_view caption) { return caption == "-"; }

}  // namespace cd::ui
