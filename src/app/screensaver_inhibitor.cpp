#include "app/screensaver_inhibitor.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace cd::app {

namespace {

QDBusMessage screenSaverCall(const char* method) {
    return QDBusMessage::createMethodCall(
        QString::fromLatin1(ScreenSaverInhibitor::kService), QString::fromLatin1(ScreenSaverInhibitor::kPath),
        QString::fromLatin1(ScreenSaverInhibitor::kService), QString::fromLatin1(method));
}

}  // namespace

ScreenSaverInhibitor::ScreenSaverInhibitor(QDBusConnection bus, QString application, QObject* parent)
    : QObject(parent), bus_(std::move(bus)), application_(std::move(application)) {}

ScreenSaverInhibitor::~ScreenSaverInhibitor() {
    wanted_ = false;
    release();
}

void ScreenSaverInhibitor::setInhibited(bool on) {
    if (on == wanted_) return;
    wanted_ = on;
    if (on)
        request();
    else
        release();
}

void ScreenSaverInhibitor::request() {
    if (asking_ || cookie_ != 0 || !bus_.isConnected()) return;
    QDBusMessage call = screenSaverCall("Inhibit");
    call << application_ << QStringLiteral("Playing video");
    asking_ = true;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        asking_ = false;
        const QDBusPendingReply<quint32> reply = *w;
        // No screensaver service: nothing to keep awake, nothing to retry.
        if (reply.isError()) return;
        cookie_ = reply.value();
        // Playback stopped while the desktop answered.
        if (!wanted_) release();
    });
}

void ScreenSaverInhibitor::release() {
    if (cookie_ == 0) return;
    QDBusMessage call = screenSaverCall("UnInhibit");
    call << cookie_;
    cookie_ = 0;
    // Nobody waits for the answer; the desktop forgets the cookie.
    bus_.send(call);
}

}  // namespace cd::app
