#pragma once
#include <string>
#include <vector>

#include "ui/control.h"

namespace cd::ui {

/// A drop-down combo box whose text can also be typed. Entries keep the
/// order they were added in (the program's combo boxes are unsorted).
class ComboBox : public Control {
public:
    explicit ComboBox(std::string name);

    const std::vector<std::string>& entries() const { return entries_; }
    void addItem(std::string entry);
    /// Removes every entry and empties the text, as the platform box does.
    void clear();

private:
    std::vector<std::string> entries_;
};

}  // namespace cd::ui
