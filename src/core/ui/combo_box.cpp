#include "ui/combo_box.h"

namespace cd::ui {

ComboBox::ComboBox(std::string name) : Control("ComboBox", std::move(name)) {}

void ComboBox::addItem(std::string entry) {
    entries_.push_back(std::move(entry));
    notify(Change::Entries);
}

void ComboBox::clear() {
    entries_.clear();
    notify(Change::Entries);
    setText("");
}

}  // namespace cd::ui
