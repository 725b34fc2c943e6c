#include "ui/simple_controls.h"

namespace cd::ui {

namespace {
const std::string kEmpty;
}

void CheckBox::setChecked(bool on) {
    if (on == checked_) return;
    checked_ = on;
    notify(Change::Value);
}

const std::string& TabStrip::tabCaption(int i) const {
    if (i < 1 || i > tabCount()) return kEmpty;
    return tabs_[static_cast<std::size_t>(i - 1)];
}

void TabStrip::setTabCaption(int i, std::string caption) {
    if (i < 1 || i > tabCount()) return;
    tabs_[static_cast<std::size_t>(i - 1)] = std::move(caption);
    notify(Change::Tabs);
}

void TabStrip::addTab(std::string caption) {
    tabs_.push_back(std::move(caption));
    notify(Change::Tabs);
}

void ListBox::setEntries(std::vector<std::string> entries) {
    entries_ = std::move(entries);
    selected_ = -1;
    notify(Change::Entries);
}

void ListBox::setCurrent(std::string value) {
    if (value == current_) return;
    current_ = std::move(value);
    notify(Change::Value);
}

void ListBox::select(int i) {
    const int next = (i < 0 || i >= static_cast<int>(entries_.size())) ? -1 : i;
    if (next == selected_) return;
    selected_ = next;
    notify(Change::Selection);
}

Timer::Timer(std::string name, int intervalMs, bool enabled)
    : Control("Timer", std::move(name)), interval_(intervalMs) {
    setEnabled(enabled);
    setVisible(false);
}

}  // namespace cd::ui
