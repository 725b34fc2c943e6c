#include "app/mpris_service.h"

#include <unistd.h>

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <cmath>

#include "app/mpris_player.h"
#include "app/mpris_root.h"

namespace cd::app {

namespace {

const QString kRootInterface = QStringLiteral("org.mpris.MediaPlayer2");
const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");

}  // namespace

MprisService::MprisService(QDBusConnection bus, const playback::NowPlaying& nowPlaying,
                           playback::PlayerControls& controls, QString identity, MprisHooks hooks, QObject* parent)
    : QObject(parent),
      bus_(std::move(bus)),
      nowPlaying_(nowPlaying),
      controls_(controls),
      identity_(std::move(identity)),
      hooks_(std::move(hooks)),
      object_(new QObject(this)) {
    new MprisRoot(object_, *this);
    new MprisPlayer(object_, *this);
    if (!bus_.isConnected() || !bus_.registerObject(QString::fromLatin1(kObjectPath), object_)) return;
    // One name per player: a second program (another data folder) takes
    // the form MPRIS gives for further instances.
    const QString name = QString::fromLatin1(kServiceName);
    for (const QString& candidate : {name, name + QStringLiteral(".instance") + QString::number(::getpid())}) {
        if (bus_.registerService(candidate)) {
            serviceName_ = candidate;
            break;
        }
    }
    if (serviceName_.isEmpty()) bus_.unregisterObject(QString::fromLatin1(kObjectPath));
    lastStatus_ = playbackStatus();
    lastMetadata_ = metadata();
    lastVolume_ = state().volume / 100.0;
    lastFullScreen_ = state().fullScreen;
    lastCanSeek_ = state().media.duration > 0;
}

MprisService::~MprisService() {
    if (serviceName_.isEmpty()) return;
    bus_.unregisterService(serviceName_);
    bus_.unregisterObject(QString::fromLatin1(kObjectPath));
}

void MprisService::raise() {
    if (hooks_.raise) hooks_.raise();
}

void MprisService::quit() {
    if (hooks_.quit) hooks_.quit();
}

QString MprisService::playbackStatus() const {
    switch (state().state) {
        case playback::PlayState::Playing:
            return QStringLiteral("Playing");
        case playback::PlayState::Paused:
            return QStringLiteral("Paused");
        case playback::PlayState::Stopped:
            break;
    }
    return QStringLiteral("Stopped");
}

QVariantMap MprisService::metadata() const {
    const playback::NowPlayingState& s = state();
    QVariantMap map;
    if (s.title.empty()) {
        map.insert(QStringLiteral("mpris:trackid"),
                   QVariant::fromValue(QDBusObjectPath(QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack"))));
        return map;
    }
    map.insert(QStringLiteral("mpris:trackid"),
               QVariant::fromValue(QDBusObjectPath(QStringLiteral("/org/channeldeck/track/%1").arg(track_))));
    map.insert(QStringLiteral("xesam:title"), QString::fromStdString(s.title));
    if (!s.streamTitle.empty())
        map.insert(QStringLiteral("xesam:artist"), QStringList{QString::fromStdString(s.streamTitle)});
    if (!s.address.empty()) map.insert(QStringLiteral("xesam:url"), QString::fromStdString(s.address));
    if (s.media.duration > 0)
        map.insert(QStringLiteral("mpris:length"), static_cast<qlonglong>(std::llround(s.media.duration * 1e6)));
    return map;
}

void MprisService::stateChanged() {
    if (serviceName_.isEmpty()) return;
    const playback::NowPlayingState& s = state();
    // A new medium gets a new track id, so widgets know it is another one.
    const QString trackKey = QString::fromStdString(s.title + '\n' + s.address);
    if (trackKey != lastTrackKey_) {
        lastTrackKey_ = trackKey;
        ++track_;
    }
    QVariantMap player;
    const QString status = playbackStatus();
    if (status != lastStatus_) {
        lastStatus_ = status;
        player.insert(QStringLiteral("PlaybackStatus"), status);
        player.insert(QStringLiteral("CanPause"), status == QStringLiteral("Playing"));
    }
    const QVariantMap meta = metadata();
    if (meta != lastMetadata_) {
        lastMetadata_ = meta;
        player.insert(QStringLiteral("Metadata"), meta);
    }
    const double volume = s.volume / 100.0;
    if (volume != lastVolume_) {
        lastVolume_ = volume;
        player.insert(QStringLiteral("Volume"), volume);
    }
    const bool canSeek = s.media.duration > 0;
    if (canSeek != lastCanSeek_) {
        lastCanSeek_ = canSeek;
        player.insert(QStringLiteral("CanSeek"), canSeek);
    }
    if (!player.isEmpty()) sendChanged(kPlayerInterface, player);
    if (s.fullScreen != lastFullScreen_) {
        lastFullScreen_ = s.fullScreen;
        sendChanged(kRootInterface, {{QStringLiteral("Fullscreen"), s.fullScreen}});
    }
}

void MprisService::sendChanged(const QString& interface, const QVariantMap& changed) {
    QDBusMessage signal =
        QDBusMessage::createSignal(QString::fromLatin1(kObjectPath), QStringLiteral("org.freedesktop.DBus.Properties"),
                                   QStringLiteral("PropertiesChanged"));
    signal << interface << changed << QStringList();
    bus_.send(signal);
}

}  // namespace cd::app
