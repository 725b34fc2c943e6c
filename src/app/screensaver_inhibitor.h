#pragma once
// Asks the desktop not to start the screensaver while a picture plays
// (org.freedesktop.ScreenSaver Inhibit / UnInhibit on the session bus).
// Calls never wait: the answer with the inhibit's cookie comes later, and
// what is wanted by then decides whether the cookie is kept or given back.
// Without the service the program simply goes on.
#include <QDBusConnection>
#include <QDBusPendingCall>
#include <QObject>
#include <QString>

namespace cd::app {

class ScreenSaverInhibitor : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kService = "org.freedesktop.ScreenSaver";
    static constexpr const char* kPath = "/org/freedesktop/ScreenSaver";

    ScreenSaverInhibitor(QDBusConnection bus, QString application, QObject* parent = nullptr);
    /// Gives back an inhibit still held.
    ~ScreenSaverInhibitor() override;

    /// Takes or releases the inhibit.
    void setInhibited(bool on);
    /// True while the desktop holds an inhibit of ours.
    bool held() const { return cookie_ != 0; }

private:
    void request();
    void release();

    /// How long the desktop may take to answer the inhibit.
    static constexpr int kAnswerTimeoutMs = 2000;

    QDBusConnection bus_;
    QString application_;
    /// The inhibit asked for and not yet answered.
    QDBusPendingCall pending_ = QDBusPendingCall::fromCompletedCall(QDBusMessage());
    bool wanted_ = false;
    bool asking_ = false;
    quint32 cookie_ = 0;
};

}  // namespace cd::app
