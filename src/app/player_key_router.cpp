#include "app/player_key_router.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <optional>

#include "app/player_widget.h"

namespace cd::app {

namespace {

std::optional<playback::PlayerKey> playerKey(int key) {
    using playback::PlayerKey;
    switch (key) {
        case Qt::Key_Space:
            return PlayerKey::Space;
        case Qt::Key_Left:
            return PlayerKey::Left;
        case Qt::Key_Right:
            return PlayerKey::Right;
        case Qt::Key_Up:
            return PlayerKey::Up;
        case Qt::Key_Down:
            return PlayerKey::Down;
        case Qt::Key_M:
            return PlayerKey::M;
        case Qt::Key_F:
            return PlayerKey::F;
        case Qt::Key_Escape:
            return PlayerKey::Escape;
        default:
            return std::nullopt;
    }
}

/// A widget that takes typed text: every key is its own there. Web pages
/// count too, since a page may hold a text field the program cannot see.
bool takesText(const QWidget* w) {
    if (!w) return false;
    if (qobject_cast<const QLineEdit*>(w) || qobject_cast<const QTextEdit*>(w) ||
        qobject_cast<const QPlainTextEdit*>(w) || qobject_cast<const QAbstractSpinBox*>(w))
        return true;
    if (const auto* combo = qobject_cast<const QComboBox*>(w)) return combo->isEditable();
    for (const QWidget* p = w; p; p = p->parentWidget())
        if (p->inherits("QWebEngineView")) return true;
    return false;
}

}  // namespace

PlayerKeyRouter::PlayerKeyRouter(QWidget* mainWindow, PlayerWidget* player, Handler handler, QObject* parent)
    : QObject(parent), mainWindow_(mainWindow), player_(player), handler_(std::move(handler)) {}

playback::KeyPlace PlayerKeyRouter::placeOf(const QWidget* focus) const {
    using playback::KeyPlace;
    if (player_ && player_->isFullScreen()) return KeyPlace::FullScreen;
    if (takesText(focus)) return KeyPlace::TextField;
    if (player_ && focus && (focus == player_ || player_->isAncestorOf(focus))) return KeyPlace::Player;
    return KeyPlace::Window;
}

bool PlayerKeyRouter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched->isWidgetType())
        if (route(static_cast<QWidget*>(watched), static_cast<QKeyEvent*>(event))) return true;
    return QObject::eventFilter(watched, event);
}

bool PlayerKeyRouter::route(QWidget* receiver, QKeyEvent* key) {
    if (!handler_ || !mainWindow_) return false;
    // Only the main window and the full-screen picture: a menu, a message
    // box or another window keeps every key.
    const QWidget* window = receiver->window();
    const bool ours =
        window == mainWindow_ || (player_ && player_->fullScreenWindow() && window == player_->fullScreenWindow());
    if (!ours) return false;
    const auto which = playerKey(key->key());
    if (!which) return false;
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    if (mods & ~Qt::ControlModifier) return false;
    // A held key repeats only what may be repeated: the volume and seeking.
    const bool repeatable = *which == playback::PlayerKey::Up || *which == playback::PlayerKey::Down ||
                            *which == playback::PlayerKey::Left || *which == playback::PlayerKey::Right;
    if (key->isAutoRepeat() && !repeatable) return false;
    QWidget* focus = QApplication::focusWidget();
    return handler_(*which, mods.testFlag(Qt::ControlModifier), placeOf(focus ? focus : receiver));
}

}  // namespace cd::app
