#pragma once
// The player area of the main window: the video, and under it a compact
// control bar (play/pause, stop, a seek slider for media that have a length,
// mute and volume).
#include <QWidget>

class QSlider;
class QToolButton;

namespace cd::app {

class MpvPlayerWidget;

class PlayerWidget : public QWidget {
    Q_OBJECT
public:
    explicit PlayerWidget(QWidget* parent = nullptr);

    /// The video widget; it is the platform::Player the program drives.
    MpvPlayerWidget* player() const { return video_; }

    // The bar's parts, for tests.
    QToolButton* playPauseButton() const { return playPause_; }
    QToolButton* stopButton() const { return stop_; }
    QToolButton* muteButton() const { return mute_; }
    QSlider* seekSlider() const { return seek_; }
    QSlider* volumeSlider() const { return volume_; }

private:
    void showPaused(bool paused);
    void showDuration(double seconds);
    void showPosition(double seconds);
    void showMuted(bool muted);

    MpvPlayerWidget* video_;
    QToolButton* playPause_;
    QToolButton* stop_;
    QSlider* seek_;
    QToolButton* mute_;
    QSlider* volume_;
};

}  // namespace cd::app
