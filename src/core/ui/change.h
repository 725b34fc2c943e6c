#pragma once
#include <functional>

namespace cd::ui {

class Control;

/// What changed on a control or window; the Qt shell maps each to a widget update.
enum class Change {
    Caption,
    Text,
    Visible,
    Enabled,
    Geometry,
    Value,         // check state, timer state, current drive/path of a list box
    Columns,       // list view column headers
    RowsReset,     // every row may have changed
    RowsInserted,  // rows [first, first + count) are new
    RowsRemoved,   // rows [first, first + count) are gone
    RowChanged,    // row first changed in place
    Selection,
    Entries,  // combo box or list box entries
    Tabs,
    ControlAdded,  // a control was added to a window at run time
    Colours,       // background or text colour
};

struct ChangeEvent {
    Change what;
    int first = 0;
    int count = 0;
};

/// Control is null for a change of the window itself.
using Listener = std::function<void(Control* control, const ChangeEvent& event)>;

}  // namespace cd::ui
