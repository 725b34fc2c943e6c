#pragma once
// The player area of the main window, and the program's platform::Player:
// the picture (or, when there is none, a plain panel naming what plays),
// and under it a compact control bar (play/pause, stop, a seek slider and
// the time for media that have a length, mute and volume). The bar acts on
// the player directly, like a player control's own buttons; the program
// hears of it through the player's events.
//
// On the full screen the picture alone fills the screen, and the bar lies
// over its foot: it shows when the mouse moves and goes after two seconds
// of stillness. The picture moves into a window of its own for that, which
// needs Qt::AA_ShareOpenGLContexts (set by the program before its
// QApplication exists), so that its OpenGL state survives the move.
#include <QPointer>
#include <QWidget>

#include "platform/player.h"
#include "playback/player_failure.h"

class QLabel;
class QSlider;
class QStackedLayout;
class QTimer;
class QToolButton;

namespace cd::localization {
class MessageTable;
}

namespace cd::app {

class MpvPlayerWidget;
class NowPlayingPanel;

class PlayerWidget : public QWidget, public platform::Player {
    Q_OBJECT
public:
    explicit PlayerWidget(QWidget* parent = nullptr);
    ~PlayerWidget() override;

    /// The mpv engine that draws the picture.
    MpvPlayerWidget* player() const { return video_; }

    // platform::Player
    void setUrl(const std::string& url) override;
    void reopen(const std::string& url) override;
    void play() override;
    void pause() override;
    void stop() override;
    void close() override;
    void seekBy(double seconds) override;
    void setVolume(int volume) override;
    void setMuted(bool muted) override;
    void setFullScreen(bool fullScreen) override;
    void showPanel(const platform::PlayerPanel& panel) override;
    void setEvents(platform::PlayerEvents events) override { events_ = std::move(events); }

    /// Where the player's words come from: its error box and the reason
    /// it gives the program for a medium that failed follow the language
    /// chosen in the program. Without it both are mpv's English. The table
    /// must outlive this widget.
    void setMessages(const localization::MessageTable* messages);
    /// What kind of failure an mpv error code is.
    static playback::PlayerFailure failureOf(int mpvError);

    bool isFullScreen() const { return fullScreen_; }
    /// How long the bar stays over the full-screen picture once the mouse
    /// is still (2 s; tests take less).
    void setBarHideDelay(int ms);
    /// The picture and the panel, stacked; what is shown of the player.
    QWidget* screenArea() const { return screen_; }
    /// The window the picture fills the screen with (null when not full screen).
    QWidget* fullScreenWindow() const { return fullScreen_ ? window_.data() : nullptr; }
    NowPlayingPanel* panel() const { return panel_; }
    bool panelShown() const;

    // The bar's parts, for tests.
    QWidget* controlBar() const { return bar_; }
    QToolButton* playPauseButton() const { return playPause_; }
    QToolButton* stopButton() const { return stop_; }
    QToolButton* muteButton() const { return mute_; }
    QSlider* seekSlider() const { return seek_; }
    QSlider* volumeSlider() const { return volume_; }
    QLabel* timeLabel() const { return time_; }

    /// "m:ss" or "h:mm:ss".
    static QString clockText(double seconds);

signals:
    /// The picture (or the panel) was double-clicked.
    void pictureDoubleClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildBar();
    void connectEngine();
    void showPaused(bool paused);
    void showDuration(double seconds);
    void showPosition(double seconds);
    void showMuted(bool muted);
    void showTime();
    void reportVolume();
    void placeContent();
    void showBarForAWhile();
    void hideBarIfStill();

    QWidget* content_;  // screen and bar; moves to the full-screen window
    QWidget* screen_;
    QStackedLayout* stack_;
    MpvPlayerWidget* video_;
    NowPlayingPanel* panel_;
    QWidget* bar_;
    QToolButton* playPause_;
    QToolButton* stop_;
    QSlider* seek_;
    QLabel* time_;
    QToolButton* mute_;
    QSlider* volume_;
    QPointer<QWidget> window_;
    QTimer* barTimer_;
    bool fullScreen_ = false;
    platform::PlayerEvents events_;
    const localization::MessageTable* messages_ = nullptr;
};

}  // namespace cd::app
