#pragma once
// The small control kinds that carry one value beside the common properties.
#include <string>
#include <vector>

#include "ui/control.h"

namespace cd::ui {

class CheckBox : public Control {
public:
    explicit CheckBox(std::string name) : Control("CheckBox", std::move(name)) {}
    bool checked() const { return checked_; }
    void setChecked(bool on);

private:
    bool checked_ = false;
};

class TabStrip : public Control {
public:
    explicit TabStrip(std::string name) : Control("TabStrip", std::move(name)) {}
    int tabCount() const { return static_cast<int>(tabs_.size()); }
    /// Tab i counted from 1.
    const std::string& tabCaption(int i) const;
    void setTabCaption(int i, std::string caption);
    void addTab(std::string caption);

private:
    std::vector<std::string> tabs_;
};

/// The drive, folder and file lists of the local-files panel: entries, a
/// current value (drive or path) and the chosen entry.
class ListBox : public Control {
public:
    ListBox(std::string typeName, std::string name) : Control(std::move(typeName), std::move(name)) {}
    const std::vector<std::string>& entries() const { return entries_; }
    void setEntries(std::vector<std::string> entries);
    /// The drive of a drive list, the path of a folder or file list.
    const std::string& current() const { return current_; }
    void setCurrent(std::string value);
    int selectedIndex() const { return selected_; }
    void select(int i);

    /// An entry clicked or reached with the arrow keys, with its row.
    Signal<int> itemClicked;
    /// An entry double-clicked or activated with Enter, with its row.
    Signal<int> itemActivated;

private:
    std::vector<std::string> entries_;
    std::string current_;
    int selected_ = -1;
};

/// A window timer; the shell runs it and calls the window's tick handler.
class Timer : public Control {
public:
    Timer(std::string name, int intervalMs, bool enabled);
    int interval() const { return interval_; }

private:
    int interval_;
};

}  // namespace cd::ui
