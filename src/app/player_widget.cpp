#include "app/player_widget.h"

#include <mpv/client.h>

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QSignalBlocker>
#include <QSlider>
#include <QStackedLayout>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "app/mpv_player_widget.h"
#include "app/now_playing_panel.h"
#include "localization/message_table.h"

namespace cd::app {

namespace {

/// How long the bar stays over the full-screen picture after the mouse stops.
constexpr int kBarStillMs = 2000;

QToolButton* barButton(QWidget* parent, QStyle::StandardPixmap icon, const QString& tip) {
    auto* b = new QToolButton(parent);
    b->setIcon(parent->style()->standardIcon(icon));
    b->setToolTip(tip);
    b->setAutoRaise(true);
    return b;
}

}  // namespace

PlayerWidget::PlayerWidget(QWidget* parent) : QWidget(parent) {
    content_ = new QWidget(this);
    content_->installEventFilter(this);
    screen_ = new QWidget(content_);
    stack_ = new QStackedLayout(screen_);
    stack_->setContentsMargins(0, 0, 0, 0);
    video_ = new MpvPlayerWidget(screen_);
    panel_ = new NowPlayingPanel(screen_);
    stack_->addWidget(video_);
    stack_->addWidget(panel_);
    stack_->setCurrentWidget(video_);
    for (QWidget* w : {static_cast<QWidget*>(video_), static_cast<QWidget*>(panel_)}) {
        // A click gives the picture the keyboard (Space, the arrows).
        w->setFocusPolicy(Qt::ClickFocus);
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
    buildBar();

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(content_);

    barTimer_ = new QTimer(this);
    barTimer_->setSingleShot(true);
    barTimer_->setInterval(kBarStillMs);
    connect(barTimer_, &QTimer::timeout, this, &PlayerWidget::hideBarIfStill);
    connectEngine();
}

PlayerWidget::~PlayerWidget() {
    // The full-screen window is this widget's child and goes with it; the
    // picture inside it must not call back into a half-destroyed widget.
    barTimer_->stop();
    if (window_) window_->removeEventFilter(this);
}

void PlayerWidget::buildBar() {
    bar_ = new QWidget(content_);
    bar_->setAutoFillBackground(true);
    bar_->installEventFilter(this);
    playPause_ = barButton(bar_, QStyle::SP_MediaPlay, tr("Play"));
    stop_ = barButton(bar_, QStyle::SP_MediaStop, tr("Stop"));
    seek_ = new QSlider(Qt::Horizontal, bar_);
    seek_->setToolTip(tr("Position"));
    seek_->setVisible(false);
    time_ = new QLabel(bar_);
    time_->setVisible(false);
    mute_ = barButton(bar_, QStyle::SP_MediaVolume, tr("Mute"));
    mute_->setCheckable(true);
    volume_ = new QSlider(Qt::Horizontal, bar_);
    volume_->setRange(0, 100);
    volume_->setValue(video_->volume());
    volume_->setToolTip(tr("Volume"));
    volume_->setMaximumWidth(90);

    auto* row = new QHBoxLayout(bar_);
    row->setContentsMargins(2, 0, 2, 0);
    row->setSpacing(2);
    row->addWidget(playPause_);
    row->addWidget(stop_);
    row->addWidget(seek_, 1);
    row->addWidget(time_);
    row->addStretch(0);
    row->addWidget(mute_);
    row->addWidget(volume_);

    connect(playPause_, &QToolButton::clicked, video_, &MpvPlayerWidget::togglePause);
    connect(stop_, &QToolButton::clicked, this, [this] {
        video_->stop();
        if (events_.userStopped) events_.userStopped();
    });
    connect(mute_, &QToolButton::toggled, video_, &MpvPlayerWidget::setMuted);
    connect(volume_, &QSlider::valueChanged, video_, &MpvPlayerWidget::setVolume);
    // Dragging only moves the knob; the jump happens where it is let go.
    connect(seek_, &QSlider::sliderReleased, this, [this] { video_->seek(seek_->value() / 1000.0); });
    connect(seek_, &QSlider::actionTriggered, this, [this](int action) {
        if (action == QAbstractSlider::SliderMove || action == QAbstractSlider::SliderNoAction) return;
        video_->seek(seek_->sliderPosition() / 1000.0);
    });
}

void PlayerWidget::connectEngine() {
    connect(video_, &MpvPlayerWidget::pausedChanged, this, [this](bool paused) {
        showPaused(paused);
        if (events_.pausedChanged) events_.pausedChanged(paused);
    });
    connect(video_, &MpvPlayerWidget::idleChanged, this, [this](bool idle) { showPaused(idle || video_->isPaused()); });
    connect(video_, &MpvPlayerWidget::playbackStarted, this, [this] {
        showPaused(video_->isPaused());
        if (events_.started) events_.started();
    });
    connect(video_, &MpvPlayerWidget::endFile, this, [this](int reason, int error, const QString& errorText) {
        if (reason == MPV_END_FILE_REASON_EOF) {
            if (events_.ended) events_.ended();
        } else if (reason == MPV_END_FILE_REASON_ERROR) {
            if (!events_.failed) return;
            events_.failed(messages_ ? playback::playerFailureReason(*messages_, failureOf(error))
                                     : errorText.toStdString());
        }
    });
    connect(video_, &MpvPlayerWidget::mediaInfoChanged, this, [this](const platform::MediaInfo& info) {
        if (events_.infoChanged) events_.infoChanged(info);
    });
    connect(video_, &MpvPlayerWidget::durationChanged, this, &PlayerWidget::showDuration);
    connect(video_, &MpvPlayerWidget::timePosChanged, this, &PlayerWidget::showPosition);
    connect(video_, &MpvPlayerWidget::mutedChanged, this, [this](bool muted) {
        showMuted(muted);
        reportVolume();
    });
    connect(video_, &MpvPlayerWidget::volumeChanged, this, [this](int v) {
        const QSignalBlocker block(volume_);
        volume_->setValue(v);
        reportVolume();
    });
}

void PlayerWidget::setMessages(const localization::MessageTable* messages) {
    messages_ = messages;
    if (!messages_) {
        video_->setErrorBoxWords(nullptr);
        return;
    }
    video_->setErrorBoxWords([this](int error, const QString& url) {
        // Looked up as the box opens, in the language of that moment.
        if (!messages_) return MpvPlayerWidget::ErrorBoxWords{};
        return MpvPlayerWidget::ErrorBoxWords{
            QString::fromStdString(playback::playerErrorTitle(*messages_)),
            QString::fromStdString(playback::playerErrorText(*messages_, url.toStdString(), failureOf(error)))};
    });
}

playback::PlayerFailure PlayerWidget::failureOf(int mpvError) {
    switch (mpvError) {
        case MPV_ERROR_UNKNOWN_FORMAT:
            return playback::PlayerFailure::UnknownFormat;
        case MPV_ERROR_LOADING_FAILED:
            return playback::PlayerFailure::NotOpened;
        case MPV_ERROR_NOTHING_TO_PLAY:
            return playback::PlayerFailure::NothingToPlay;
        case MPV_ERROR_AO_INIT_FAILED:
        case MPV_ERROR_VO_INIT_FAILED:
            return playback::PlayerFailure::NoOutput;
        default:
            return playback::PlayerFailure::Other;
    }
}

// ---- platform::Player --------------------------------------------------------

void PlayerWidget::setUrl(const std::string& url) { video_->setUrl(url); }

void PlayerWidget::reopen(const std::string& url) { video_->reopen(url); }

void PlayerWidget::play() { video_->play(); }

void PlayerWidget::pause() { video_->pause(); }

void PlayerWidget::stop() { video_->stop(); }

void PlayerWidget::close() { video_->close(); }

void PlayerWidget::seekBy(double seconds) {
    if (video_->duration() <= 0) return;
    video_->seek(std::clamp(video_->timePos() + seconds, 0.0, video_->duration()));
}

void PlayerWidget::setVolume(int volume) { video_->setVolume(volume); }

void PlayerWidget::setMuted(bool muted) { video_->setMuted(muted); }

void PlayerWidget::showPanel(const platform::PlayerPanel& panel) {
    panel_->setTexts(QString::fromStdString(panel.heading), QString::fromStdString(panel.line));
    stack_->setCurrentWidget(panel.shown ? static_cast<QWidget*>(panel_) : video_);
}

bool PlayerWidget::panelShown() const { return stack_->currentWidget() == panel_; }

void PlayerWidget::setFullScreen(bool fullScreen) {
    if (fullScreen == fullScreen_) return;
    const bool hadFocus = content_->isAncestorOf(QApplication::focusWidget());
    fullScreen_ = fullScreen;
    if (fullScreen) {
        if (!window_) {
            // A child window, so it goes with this widget whatever happens.
            window_ = new QWidget(this, Qt::Window);
            window_->setWindowTitle(window()->windowTitle());
            window_->setAttribute(Qt::WA_DeleteOnClose, false);
            window_->installEventFilter(this);
            QPalette black = window_->palette();
            black.setColor(QPalette::Window, Qt::black);
            window_->setPalette(black);
            window_->setAutoFillBackground(true);
            auto* fill = new QVBoxLayout(window_);
            fill->setContentsMargins(0, 0, 0, 0);
        }
        // With shared OpenGL contexts the picture keeps its state as it
        // moves to the other window, and mpv goes on drawing into it.
        window_->layout()->addWidget(content_);
        if (QScreen* on = screen()) window_->setGeometry(on->geometry());
        window_->showFullScreen();
        window_->raise();
        window_->activateWindow();
        video_->setFocus();
        showBarForAWhile();
    } else {
        barTimer_->stop();
        layout()->addWidget(content_);
        // Moved back, it would show only once the layout's queued show runs.
        content_->show();
        content_->unsetCursor();
        bar_->setVisible(true);
        if (window_) window_->hide();
        if (hadFocus) video_->setFocus();
    }
    placeContent();
    if (events_.fullScreenChanged) events_.fullScreenChanged(fullScreen_);
}

// ---- the bar ----------------------------------------------------------------

void PlayerWidget::setBarHideDelay(int ms) { barTimer_->setInterval(ms); }

void PlayerWidget::showPaused(bool paused) {
    const bool playing = !paused && !video_->isIdle();
    playPause_->setIcon(style()->standardIcon(playing ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
    playPause_->setToolTip(playing ? tr("Pause") : tr("Play"));
}

void PlayerWidget::showDuration(double seconds) {
    // A live stream has no length: no slider to pull and no end to show.
    const bool seekable = seconds > 0;
    seek_->setVisible(seekable);
    time_->setVisible(seekable);
    if (seekable) seek_->setRange(0, static_cast<int>(std::lround(seconds * 1000)));
    showTime();
}

void PlayerWidget::showPosition(double seconds) {
    showTime();
    if (seek_->isSliderDown()) return;
    const QSignalBlocker block(seek_);
    seek_->setValue(static_cast<int>(std::lround(seconds * 1000)));
}

void PlayerWidget::showTime() {
    if (video_->duration() <= 0) return;
    time_->setText(clockText(video_->timePos()) + QStringLiteral(" / ") + clockText(video_->duration()));
}

QString PlayerWidget::clockText(double seconds) {
    const long long total = std::max(0LL, static_cast<long long>(std::floor(seconds)));
    const long long h = total / 3600;
    const long long m = (total / 60) % 60;
    const long long s = total % 60;
    const QString ss = QStringLiteral("%1").arg(s, 2, 10, QLatin1Char('0'));
    if (h > 0) return QStringLiteral("%1:%2:%3").arg(h).arg(m, 2, 10, QLatin1Char('0')).arg(ss);
    return QStringLiteral("%1:%2").arg(m).arg(ss);
}

void PlayerWidget::showMuted(bool muted) {
    const QSignalBlocker block(mute_);
    mute_->setChecked(muted);
    mute_->setIcon(style()->standardIcon(muted ? QStyle::SP_MediaVolumeMuted : QStyle::SP_MediaVolume));
}

void PlayerWidget::reportVolume() {
    if (events_.volumeChanged) events_.volumeChanged(video_->volume(), video_->isMuted());
}

// ---- placement and the full screen ------------------------------------------

void PlayerWidget::placeContent() {
    const QRect all = content_->rect();
    const int barHeight = bar_->sizeHint().height();
    if (fullScreen_) {
        // The picture takes the whole screen; the bar lies over its foot.
        screen_->setGeometry(all);
        bar_->setGeometry(0, all.height() - barHeight, all.width(), barHeight);
        bar_->raise();
    } else {
        screen_->setGeometry(0, 0, all.width(), std::max(0, all.height() - barHeight));
        bar_->setGeometry(0, all.height() - barHeight, all.width(), barHeight);
    }
}

void PlayerWidget::showBarForAWhile() {
    if (!fullScreen_) return;
    bar_->setVisible(true);
    bar_->raise();
    content_->unsetCursor();
    barTimer_->start();
}

void PlayerWidget::hideBarIfStill() {
    if (!fullScreen_) return;
    // Not while the mouse rests on the bar itself.
    if (bar_->underMouse()) {
        barTimer_->start();
        return;
    }
    bar_->setVisible(false);
    content_->setCursor(Qt::BlankCursor);
}

bool PlayerWidget::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::Resize:
            if (watched == content_) placeContent();
            break;
        case QEvent::MouseButtonDblClick:
            if ((watched == video_ || watched == panel_) &&
                static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
                emit pictureDoubleClicked();
                return true;
            }
            break;
        case QEvent::MouseMove:
            if (watched == video_ || watched == panel_) showBarForAWhile();
            break;
        case QEvent::Enter:
            if (watched == bar_) showBarForAWhile();
            break;
        case QEvent::Close:
            // The desktop closed the full-screen window: back to the window.
            if (watched == window_ && fullScreen_) {
                static_cast<QCloseEvent*>(event)->ignore();
                setFullScreen(false);
                return true;
            }
            break;
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace cd::app
