#pragma once
// The menus of a window: top-level "Menu" controls (empty container) become
// menus of the menu bar, entries become actions, entries that hold entries
// become sub-menus. A top-level menu that is hidden (a pop-up menu such as
// channelActionsMenu) stays out of sight in the bar and opens with popup().
#include <QString>
#include <functional>
#include <unordered_map>

#include "ui/control.h"
#include "ui/form.h"

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace cd::app {

class FormMenus {
public:
    using Triggered = std::function<void(ui::Control& entry)>;
    /// bar receives the top-level menus; form is asked which menus hold entries.
    FormMenus(const ui::Form& form, QMenuBar* bar, Triggered onTriggered);

    /// Builds the menu or entry of a "Menu" control; its parent must be added first.
    void add(ui::Control& menu);
    /// Follows a change of caption, visibility or enabled state.
    void apply(ui::Control& menu, ui::Change what);

    QAction* actionFor(const ui::Control* menu) const;
    /// The QMenu of a menu that holds entries (or of any top-level menu).
    QMenu* menuFor(const ui::Control* menu) const;

    /// Menu captions show "&" literally.
    static QString escapeMnemonic(const QString& caption);

private:
    struct Node {
        ui::Control* control = nullptr;
        QAction* action = nullptr;
        QMenu* menu = nullptr;
        QWidget* holder = nullptr;  // the bar or menu the action sits in
    };
    Node* findMenuNamed(const std::string& name);
    bool holdsEntries(const ui::Control& menu) const;
    QMenu* makeSubmenu(Node& node);
    void connectLeaf(Node& node);
    void applyAll(Node& node);

    const ui::Form& form_;
    QMenuBar* bar_;
    Triggered onTriggered_;
    std::unordered_map<const ui::Control*, Node> nodes_;
};

}  // namespace cd::app
