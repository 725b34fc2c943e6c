#include "ui/form8.h"

namespace cd::ui {

Form8::Form8() : Form("Form8", "Help") {}

}  // namespace cd::ui
