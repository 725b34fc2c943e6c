#pragma once
// Hands the player's keys pressed in the main window (or on the full-screen
// picture) to the core, with where the focus was; the core decides whether
// a key is the player's. A key it takes goes no further; any other key
// reaches the focused control as usual.
#include <QObject>
#include <QPointer>
#include <functional>

#include "playback/player_controls.h"

class QKeyEvent;
class QWidget;

namespace cd::app {

class PlayerWidget;

class PlayerKeyRouter : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<bool(playback::PlayerKey, bool ctrl, playback::KeyPlace)>;

    /// Install with QApplication::installEventFilter: keys reach the
    /// focused widget first, and menus and dialogs are windows of their own.
    PlayerKeyRouter(QWidget* mainWindow, PlayerWidget* player, Handler handler, QObject* parent = nullptr);

    /// Where the focus is, as the core tells places apart.
    playback::KeyPlace placeOf(const QWidget* focus) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool route(QWidget* receiver, QKeyEvent* key);

    QPointer<QWidget> mainWindow_;
    QPointer<PlayerWidget> player_;
    Handler handler_;
};

}  // namespace cd::app
