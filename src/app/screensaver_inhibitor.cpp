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
    // The program ends while the desktop's answer is on its way: the
    // inhibit it hands out must still be given back, or the screen never
    // sleeps again while the desktop runs. The wait is bounded by the call's
    // timeout.
    if (asking_) {
        pending_.waitForFinished();
        const QDBusPendingReply<quint32> reply = pending_;
        if (!reply.isError()) cookie_ = reply.value();
    }
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
    pending_ = bus_.asyncCall(call, kAnswerTimeoutMs);
    auto* watcher = new QDBusPendingCallWatcher(pending_, this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        asking_ = false;
        pending_ = QDBusPendingCall::fromCompletedCall(QDBusMessage());
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
