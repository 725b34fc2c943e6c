#include "app/desktop_session.h"

namespace cd::app {

DesktopSession::DesktopSession(QDBusConnection bus, playback::NowPlaying& nowPlaying,
                               playback::PlayerControls& controls, QString identity, MprisHooks hooks, QObject* parent)
    : QObject(parent), nowPlaying_(nowPlaying), alive_(std::make_shared<DesktopSession*>(this)) {
    if (!bus.isConnected()) return;
    mpris_ = std::make_unique<MprisService>(bus, nowPlaying, controls, identity, std::move(hooks));
    screenSaver_ = std::make_unique<ScreenSaverInhibitor>(bus, identity);
    std::weak_ptr<DesktopSession*> weak = alive_;
    nowPlaying_.changed.connect([weak] {
        if (const auto session = weak.lock(); session && *session) (*session)->follow();
    });
    follow();
}

DesktopSession::~DesktopSession() { *alive_ = nullptr; }

void DesktopSession::follow() {
    if (mpris_) mpris_->stateChanged();
    if (screenSaver_) screenSaver_->setInhibited(nowPlaying_.state().keepScreenAwake());
}

}  // namespace cd::app
