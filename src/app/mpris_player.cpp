#include "app/mpris_player.h"

#include <algorithm>
#include <cmath>

#include "app/mpris_service.h"

namespace cd::app {

MprisPlayer::MprisPlayer(QObject* object, MprisService& service) : QDBusAbstractAdaptor(object), service_(service) {}

QString MprisPlayer::playbackStatus() const { return service_.playbackStatus(); }

QVariantMap MprisPlayer::metadata() const { return service_.metadata(); }

double MprisPlayer::volume() const { return service_.state().volume / 100.0; }

void MprisPlayer::setVolume(double volume) {
    // The player's volume ends at 100 %; NaN and the like are ignored.
    if (!std::isfinite(volume)) return;
    service_.controls().setVolume(static_cast<int>(std::lround(std::clamp(volume, 0.0, 1.0) * 100)));
}

qlonglong MprisPlayer::position() const {
    return static_cast<qlonglong>(std::llround(service_.positionSeconds() * 1e6));
}

bool MprisPlayer::canPlay() const { return !service_.state().address.empty() || !service_.state().title.empty(); }

bool MprisPlayer::canPause() const { return service_.state().state == playback::PlayState::Playing; }

bool MprisPlayer::canSeek() const { return service_.state().media.duration > 0; }

void MprisPlayer::Pause() { service_.controls().pause(); }

void MprisPlayer::PlayPause() { service_.controls().togglePause(); }

void MprisPlayer::Stop() { service_.controls().stop(); }

void MprisPlayer::Play() {
    if (service_.state().state != playback::PlayState::Playing) service_.controls().play();
}

void MprisPlayer::Seek(qlonglong offsetUs) { service_.controls().seekBy(static_cast<double>(offsetUs) / 1e6); }

void MprisPlayer::SetPosition(const QDBusObjectPath& trackId, qlonglong positionUs) {
    // Only for the medium playing now, and within it.
    if (trackId.path() != service_.metadata().value(QStringLiteral("mpris:trackid")).value<QDBusObjectPath>().path())
        return;
    const double target = static_cast<double>(positionUs) / 1e6;
    if (target < 0 || target > service_.state().media.duration) return;
    service_.controls().seekBy(target - service_.positionSeconds());
}

}  // namespace cd::app
