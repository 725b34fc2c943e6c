#include "app/player_widget.h"

#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

#include "app/mpv_player_widget.h"

namespace cd::app {

namespace {

QToolButton* barButton(QWidget* parent, QStyle::StandardPixmap icon, const QString& tip) {
    auto* b = new QToolButton(parent);
    b->setIcon(parent->style()->standardIcon(icon));
    b->setToolTip(tip);
    b->setAutoRaise(true);
    return b;
}

}  // namespace

PlayerWidget::PlayerWidget(QWidget* parent) : QWidget(parent) {
    video_ = new MpvPlayerWidget(this);
    video_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);

    auto* bar = new QWidget(this);
    playPause_ = barButton(bar, QStyle::SP_MediaPlay, tr("Play"));
    stop_ = barButton(bar, QStyle::SP_MediaStop, tr("Stop"));
    seek_ = new QSlider(Qt::Horizontal, bar);
    seek_->setToolTip(tr("Position"));
    seek_->setVisible(false);
    mute_ = barButton(bar, QStyle::SP_MediaVolume, tr("Mute"));
    mute_->setCheckable(true);
    volume_ = new QSlider(Qt::Horizontal, bar);
    volume_->setRange(0, 100);
    volume_->setValue(video_->volume());
    volume_->setToolTip(tr("Volume"));
    volume_->setMaximumWidth(90);

    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(2, 0, 2, 0);
    row->setSpacing(2);
    row->addWidget(playPause_);
    row->addWidget(stop_);
    row->addWidget(seek_, 1);
    row->addStretch(0);
    row->addWidget(mute_);
    row->addWidget(volume_);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(video_, 1);
    column->addWidget(bar, 0);

    connect(playPause_, &QToolButton::clicked, video_, &MpvPlayerWidget::togglePause);
    connect(stop_, &QToolButton::clicked, video_, &MpvPlayerWidget::stop);
    connect(mute_, &QToolButton::toggled, video_, &MpvPlayerWidget::setMuted);
    connect(volume_, &QSlider::valueChanged, video_, &MpvPlayerWidget::setVolume);
    // Dragging only moves the knob; the jump happens where it is let go.
    connect(seek_, &QSlider::sliderReleased, this, [this] { video_->seek(seek_->value() / 1000.0); });
    connect(seek_, &QSlider::actionTriggered, this, [this](int action) {
        if (action == QAbstractSlider::SliderMove || action == QAbstractSlider::SliderNoAction) return;
        video_->seek(seek_->sliderPosition() / 1000.0);
    });

    connect(video_, &MpvPlayerWidget::pausedChanged, this, &PlayerWidget::showPaused);
    connect(video_, &MpvPlayerWidget::idleChanged, this, [this](bool idle) { showPaused(idle || video_->isPaused()); });
    connect(video_, &MpvPlayerWidget::playbackStarted, this, [this] { showPaused(video_->isPaused()); });
    connect(video_, &MpvPlayerWidget::durationChanged, this, &PlayerWidget::showDuration);
    connect(video_, &MpvPlayerWidget::timePosChanged, this, &PlayerWidget::showPosition);
    connect(video_, &MpvPlayerWidget::mutedChanged, this, &PlayerWidget::showMuted);
    connect(video_, &MpvPlayerWidget::volumeChanged, this, [this](int v) {
        const QSignalBlocker block(volume_);
        volume_->setValue(v);
    });
}

void PlayerWidget::showPaused(bool paused) {
    const bool playing = !paused && !video_->isIdle();
    playPause_->setIcon(style()->standardIcon(playing ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
    playPause_->setToolTip(playing ? tr("Pause") : tr("Play"));
}

void PlayerWidget::showDuration(double seconds) {
    // A live stream has no length (mpv's duration is only what it has
    // buffered so far): no slider to pull.
    const bool seekable = seconds > 0 && video_->hasKnownSize();
    seek_->setVisible(seekable);
    if (seekable) seek_->setRange(0, static_cast<int>(std::lround(seconds * 1000)));
}

void PlayerWidget::showPosition(double seconds) {
    if (seek_->isSliderDown()) return;
    const QSignalBlocker block(seek_);
    seek_->setValue(static_cast<int>(std::lround(seconds * 1000)));
}

void PlayerWidget::showMuted(bool muted) {
    const QSignalBlocker block(mute_);
    mute_->setChecked(muted);
    mute_->setIcon(style()->standardIcon(muted ? QStyle::SP_MediaVolumeMuted : QStyle::SP_MediaVolume));
}

}  // namespace cd::app
