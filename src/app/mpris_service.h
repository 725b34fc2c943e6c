#pragma once
// The player on the desktop's session bus as an MPRIS 2 media player
// (org.mpris.MediaPlayer2.channeldeck, object /org/mpris/MediaPlayer2), so
// media keys, sound menus and player widgets see and steer what plays. The
// state comes from the core's NowPlaying; commands go to PlayerControls.
#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QVariantMap>
#include <functional>

#include "playback/now_playing.h"
#include "playback/player_controls.h"

namespace cd::app {

struct MprisHooks {
    /// The window comes to the front.
    std::function<void()> raise;
    /// The program is asked to end, as if its window were closed.
    std::function<void()> quit;
    /// Where the medium is now, in seconds.
    std::function<double()> position;
};

class MprisService : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kObjectPath = "/org/mpris/MediaPlayer2";
    static constexpr const char* kServiceName = "org.mpris.MediaPlayer2.channeldeck";

    /// Registers the object and takes the name (or, when another program
    /// holds it, the name with ".instance" and this process's id).
    MprisService(QDBusConnection bus, const playback::NowPlaying& nowPlaying, playback::PlayerControls& controls,
                 QString identity, MprisHooks hooks, QObject* parent = nullptr);
    ~MprisService() override;

    /// False when the bus refused the object or every name.
    bool registered() const { return !serviceName_.isEmpty(); }
    const QString& serviceName() const { return serviceName_; }

    const playback::NowPlayingState& state() const { return nowPlaying_.state(); }
    playback::PlayerControls& controls() { return controls_; }
    const QString& identity() const { return identity_; }
    void raise();
    void quit();
    double positionSeconds() const { return hooks_.position ? hooks_.position() : 0.0; }

    /// "Playing", "Paused" or "Stopped".
    QString playbackStatus() const;
    /// xesam:title (the channel, or the file's title), xesam:artist (what the
    /// station plays now), xesam:url, mpris:length for media with a length,
    /// and mpris:trackid.
    QVariantMap metadata() const;
    /// The core's state changed: tells the bus what of it others can see.
    void stateChanged();

private:
    void sendChanged(const QString& interface, const QVariantMap& changed);

    QDBusConnection bus_;
    const playback::NowPlaying& nowPlaying_;
    playback::PlayerControls& controls_;
    QString identity_;
    MprisHooks hooks_;
    QString serviceName_;
    QObject* object_;
    /// What the bus was last told.
    QString lastStatus_;
    QVariantMap lastMetadata_;
    double lastVolume_ = -1;
    bool lastFullScreen_ = false;
    bool lastCanSeek_ = false;
    /// Counts the media played, for mpris:trackid.
    quint64 track_ = 0;
    QString lastTrackKey_;
};

}  // namespace cd::app
