#include "app/form_menus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "ui/menu_caption.h"

namespace cd::app {

FormMenus::FormMenus(const ui::Form& form, QMenuBar* bar, Triggered onTriggered)
    : form_(form), bar_(bar), onTriggered_(std::move(onTriggered)) {}

QString FormMenus::escapeMnemonic(const QString& caption) {
    QString out = caption;
    out.replace(QLatin1Char('&'), QLatin1String("&&"));
    return out;
}

FormMenus::Node* FormMenus::findMenuNamed(const std::string& name) {
    for (auto& [control, node] : nodes_)
        if (control->name() == name && !control->index()) return &node;
    for (auto& [control, node] : nodes_)
        if (control->name() == name) return &node;
    return nullptr;
}

bool FormMenus::holdsEntries(const ui::Control& menu) const {
    for (const auto& c : form_.controls())
        if (c->typeName() == "Menu" && c.get() != &menu && c->container() == menu.name()) return true;
    return false;
}

void FormMenus::add(ui::Control& menu) {
    if (nodes_.count(&menu)) return;
    Node node;
    node.control = &menu;
    Node* parent = menu.container().empty() ? nullptr : findMenuNamed(menu.container());
    if (!parent) {
        // A top-level menu: always a QMenu, shown in the bar while visible.
        node.menu = new QMenu(bar_);
        node.action = bar_->addMenu(node.menu);
        node.holder = bar_;
    } else {
        QMenu* into = parent->menu ? parent->menu : makeSubmenu(*parent);
        node.holder = into;
        if (holdsEntries(menu)) {
            node.menu = new QMenu(into);
            node.action = into->addMenu(node.menu);
        } else {
            node.action = into->addAction(QString());
        }
    }
    auto& stored = nodes_[&menu] = node;
    if (!stored.menu) connectLeaf(stored);
    applyAll(stored);
}

QMenu* FormMenus::makeSubmenu(Node& node) {
    // An entry that gains entries at run time turns into a sub-menu in place.
    auto* sub = new QMenu(node.holder);
    QAction* old = node.action;
    node.holder->insertAction(old, sub->menuAction());
    node.holder->removeAction(old);
    delete old;
    node.menu = sub;
    node.action = sub->menuAction();
    applyAll(node);
    return sub;
}

void FormMenus::connectLeaf(Node& node) {
    ui::Control* control = node.control;
    QObject::connect(node.action, &QAction::triggered, node.action, [this, control] { onTriggered_(*control); });
}

void FormMenus::applyAll(Node& node) {
    apply(*node.control, ui::Change::Caption);
    apply(*node.control, ui::Change::Visible);
    apply(*node.control, ui::Change::Enabled);
}

void FormMenus::apply(ui::Control& menu, ui::Change what) {
    const auto it = nodes_.find(&menu);
    if (it == nodes_.end()) return;
    Node& node = it->second;
    switch (what) {
        case ui::Change::Caption: {
            const QString caption = QString::fromStdString(menu.caption());
            // A separator keeps no text: styles draw a separator's text as a
            // section heading.
            const bool separator = !node.menu && ui::IsSeparatorCaption(menu.caption());
            node.action->setSeparator(separator);
            node.action->setText(separator ? QString() : escapeMnemonic(caption));
            if (node.menu) node.menu->setTitle(escapeMnemonic(caption));
            break;
        }
        case ui::Change::Visible:
            node.action->setVisible(menu.visible());
            break;
        case ui::Change::Enabled:
            node.action->setEnabled(menu.enabled());
            break;
        default:
            break;
    }
}

QAction* FormMenus::actionFor(const ui::Control* menu) const {
    const auto it = nodes_.find(menu);
    return it == nodes_.end() ? nullptr : it->second.action;
}

QMenu* FormMenus::menuFor(const ui::Control* menu) const {
    const auto it = nodes_.find(menu);
    return it == nodes_.end() ? nullptr : it->second.menu;
}

}  // namespace cd::app
