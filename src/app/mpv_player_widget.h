#pragma once
// The embedded media player: a libmpv core drawn through the mpv render API
// into this OpenGL widget.
//
// The program must call setlocale(LC_NUMERIC, "C") after constructing the
// QApplication (which resets the locale) and before creating this widget:
// mpv refuses to start under any other numeric locale. The application also
// needs Qt::AA_ShareOpenGLContexts set before the QApplication exists when it
// shows web views beside this widget.
//
// It is the engine only: the player area around it (PlayerWidget) is the
// program's platform::Player.
//
// Threads: mpv calls back on its own threads. Those callbacks only post a
// queued call to this widget; every mpv event is read and every signal is
// emitted on the UI thread. Commands go to mpv asynchronously, so the UI
// thread never waits for the core.
#include <QElapsedTimer>
#include <QOpenGLWidget>
#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "app/mpv_handle.h"
#include "platform/player.h"

struct mpv_render_context;
struct mpv_event;
struct mpv_event_property;

namespace cd::app {

class MpvPlayerWidget : public QOpenGLWidget {
    Q_OBJECT
public:
    /// Starts the core with the player's start settings: auto-start, volume
    /// 50, not muted, video scaled to fit in its own shape, speed 1.0,
    /// played once.
    explicit MpvPlayerWidget(QWidget* parent = nullptr);
    ~MpvPlayerWidget() override;

    /// False when mpv could not be started; every call is then ignored.
    bool isValid() const { return static_cast<bool>(mpv_); }

    /// Replaces what plays with url (an address or a local path) and starts it.
    void setUrl(const std::string& url);
    /// Like setUrl, but a medium that cannot be opened shows no error box.
    void reopen(const std::string& url);
    /// Stops playback; play() starts the same medium again. The picture goes.
    void stop();
    /// Stops and releases the medium; play() has nothing to start after it.
    /// (This is the player's close; it hides QWidget::close, which would
    /// close the widget, not the medium.)
    void close();

    /// Resumes a paused medium, or starts the last medium again after stop().
    void play();
    void pause();
    void togglePause();
    /// Seeks to an absolute position in seconds.
    void seek(double seconds);
    /// 0 to 100.
    void setVolume(int volume);
    void setMuted(bool muted);

    /// True while a medium is loaded, has started and is not paused.
    bool isPlaying() const { return started_ && !paused_ && !idle_; }
    bool isPaused() const { return paused_; }
    bool isIdle() const { return idle_; }
    /// True while a video track is being shown; false for sound only and
    /// when nothing plays (the last frame drawn is then stale).
    bool isVideoShown() const { return videoShown_; }
    /// True when the medium's size is known (a file, a download of known
    /// length); a live stream has none, whatever length mpv has buffered.
    bool hasKnownSize() const;
    /// The address or path last given to setUrl (empty after close()).
    const std::string& currentUrl() const { return url_; }
    /// Playback position in seconds (0 when nothing plays).
    double timePos() const { return timePos_; }
    /// Length of the medium in seconds; 0 for a live stream or nothing loaded.
    double duration() const { return duration_; }
    int volume() const { return volume_; }
    bool isMuted() const { return muted_; }
    /// What mpv has said of the medium so far.
    const platform::MediaInfo& mediaInfo() const { return info_; }

    /// When on (the default), a medium that cannot be opened is reported by
    /// the player itself in a non-blocking message box titled "Media Player"
    /// (not one given with reopen, and not one that played and then broke
    /// off). playbackError is emitted either way.
    void setErrorDialogsEnabled(bool on) { errorDialogs_ = on; }
    bool errorDialogsEnabled() const { return errorDialogs_; }

    /// The words of the error box, for mpv's error code and the medium's
    /// address.
    struct ErrorBoxWords {
        QString title;
        QString text;
    };
    /// Where the error box takes its words from, so that it speaks the
    /// program's language; without it the box names mpv's own reason in
    /// English.
    void setErrorBoxWords(std::function<ErrorBoxWords(int error, const QString& url)> words) {
        errorBoxWords_ = std::move(words);
    }

signals:
    /// The medium opened and its first frame or sample is on its way.
    void playbackStarted();
    /// mpv finished a medium; reason is an mpv_end_file_reason, error the
    /// mpv_error code and errorText mpv's description of it (0 and empty
    /// unless reason is an error).
    void endFile(int reason, int error, const QString& errorText);
    /// A medium could not be opened or played.
    void playbackError(const QString& reason, const QString& url);
    void pausedChanged(bool paused);
    void durationChanged(double seconds);
    /// At most four times a second.
    void timePosChanged(double seconds);
    void volumeChanged(int volume);
    void mutedChanged(bool muted);
    void idleChanged(bool idle);
    void videoShownChanged(bool shown);
    /// Title, codec, bitrate or picture size changed; at most once per
    /// batch of mpv events.
    void mediaInfoChanged(const cd::platform::MediaInfo& info);

protected:
    void initializeGL() override;
    void paintGL() override;

private:
    static void onWakeup(void* self);
    static void onRenderUpdate(void* self);
    void drainEvents();
    void handleEvent(const mpv_event& event);
    void handleProperty(std::uint64_t id, const mpv_event_property& property);
    void handleEndFile(const mpv_event& event);
    void load(const std::string& url, bool quiet);
    void resetMediaInfo();
    void showError(int error, const QString& reason);
    void freeRenderContext();
    void command(std::initializer_list<const char*> args);
    void setFlag(const char* name, bool value);
    void updateMediaInfo();
    void updateDuration();

    MpvHandle mpv_;
    mpv_render_context* render_ = nullptr;
    std::atomic<bool> drainQueued_{false};
    std::string url_;
    bool started_ = false;
    bool paused_ = false;
    bool idle_ = true;
    bool videoShown_ = false;
    bool errorDialogs_ = true;
    std::function<ErrorBoxWords(int, const QString&)> errorBoxWords_;
    /// The medium was given with reopen(): it reports no error box.
    bool quiet_ = false;
    /// The medium has started at least once since it was loaded.
    bool everStarted_ = false;
    /// What mpv says of the length and the size; a medium without a size
    /// (a live stream) has no length, whatever mpv has cached of it.
    double rawDuration_ = 0;
    platform::MediaInfo info_;
    /// Parts of the info as mpv gives them, put together in updateMediaInfo.
    double audioBitrate_ = 0;
    double videoBitrate_ = 0;
    int width_ = 0;
    int height_ = 0;
    bool albumArt_ = false;
    std::string mediaTitle_;
    std::string audioCodec_;
    std::string videoFormat_;
    std::string icyTitle_;
    std::string tagTitle_;
    bool infoDirty_ = false;
    double timePos_ = 0;
    double duration_ = 0;
    int volume_ = 50;
    bool muted_ = false;
    QElapsedTimer timePosThrottle_;
};

}  // namespace cd::app
