#pragma once
// The one table of the names that stored files use. The localization file
// keys its entries by the windows' and controls' stored names
// (FORM1_LISTVIEW1_COL1); in C++ they are named by role (channelList). Every
// window and control takes its stored name from here, and the localization
// writer and reader build their element names from what the controls carry,
// so the two vocabularies meet in this file alone.
#include <span>
#include <string>
#include <string_view>

namespace cd::ui {

struct StoredName {
    /// The window's stored name ("Form1").
    std::string_view window;
    /// The control's stored name ("ListView1"); empty for the window itself.
    /// A control array (the entries of a menu, the skin labels) has one row.
    std::string_view control;
    /// Its name by role in C++ ("channelList").
    std::string_view role;
    /// What it is for.
    std::string_view meaning;
};

/// Every window and control of the program, windows first in each group.
std::span<const StoredName> storedNames();

/// The stored name of the control with this role in window; a role the
/// table does not hold is a fault of the program, not of any input, and
/// ends it.
std::string storedControlName(std::string_view window, std::string_view role);

/// The stored name of the window with this role ("mainWindow" gives "Form1").
std::string storedWindowName(std::string_view role);

/// The table as a Markdown table (window, control, role, meaning), for the
/// documentation.
std::string storedNamesMarkdown();

}  // namespace cd::ui
