#pragma once
// What the shell reports of the user's actions on a window's controls. The
// model has already taken the input (typed text, check state, selection)
// when the event is reported, so a handler reads the model as it stands.
#include <QPoint>
#include <optional>
#include <string>

namespace cd::app {

struct UiEvent {
    enum Kind {
        Click,        // button, label, picture, check box, list box entry, combo entry picked
        Change,       // text typed into a text box or combo box; a drive picked
        ItemClick,    // a list view row clicked or reached with the keyboard
        HeaderClick,  // a list view column header clicked; column is 1-based
        KeyPress,     // a key in a text box; key is 13 for Enter
        MenuClick,    // a menu entry chosen
        DoubleClick,  // a folder or file list entry double-clicked or activated with Enter
        Timer,        // a window timer ticked
    };

    std::string control;
    std::optional<int> index;  // control-array index
    Kind kind = Click;
    int column = 0;
    int key = 0;
    QPoint globalPos;  // the mouse position when the event happened
};

}  // namespace cd::app
