#include "app/mpris_root.h"

#include "app/mpris_service.h"

namespace cd::app {

MprisRoot::MprisRoot(QObject* object, MprisService& service) : QDBusAbstractAdaptor(object), service_(service) {}

bool MprisRoot::fullscreen() const { return service_.state().fullScreen; }

void MprisRoot::setFullscreen(bool on) {
    if (on != service_.state().fullScreen) service_.controls().toggleFullScreen();
}

QString MprisRoot::identity() const { return service_.identity(); }

void MprisRoot::Raise() { service_.raise(); }

void MprisRoot::Quit() { service_.quit(); }

}  // namespace cd::app
