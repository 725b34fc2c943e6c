#pragma once
// The program on the desktop's session bus: the MPRIS media player and the
// screensaver inhibit, both following the core's now-playing state. With no
// session bus (a bare X server, a service account) there is neither, and
// the program runs as before.
#include <QDBusConnection>
#include <QObject>
#include <memory>

#include "app/mpris_service.h"
#include "app/screensaver_inhibitor.h"
#include "playback/now_playing.h"
#include "playback/player_controls.h"

namespace cd::app {

class DesktopSession : public QObject {
    Q_OBJECT
public:
    DesktopSession(QDBusConnection bus, playback::NowPlaying& nowPlaying, playback::PlayerControls& controls,
                   QString identity, MprisHooks hooks, QObject* parent = nullptr);
    ~DesktopSession() override;

    /// Null without a session bus.
    MprisService* mpris() const { return mpris_.get(); }
    ScreenSaverInhibitor* screenSaver() const { return screenSaver_.get(); }

private:
    void follow();

    playback::NowPlaying& nowPlaying_;
    std::unique_ptr<MprisService> mpris_;
    std::unique_ptr<ScreenSaverInhibitor> screenSaver_;
    /// The core's signal cannot be disconnected: its handler checks this.
    std::shared_ptr<DesktopSession*> alive_;
};

}  // namespace cd::app
