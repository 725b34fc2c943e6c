#include "app/mpv_player_widget.h"

#include <mpv/client.h>
#include <mpv/render_gl.h>

#include <QMessageBox>
#include <QMetaObject>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QPointer>
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "app/code_page.h"

namespace cd::app {

namespace {

// Observed properties, one table: the reply id is the row number.
enum PropertyId : std::uint64_t {
    kPause,
    kDuration,
    kTimePos,
    kVolume,
    kMute,
    kIdleActive,
    kMetadata,
    kMediaTitle,
    kAudioCodec,
    kVideoFormat,
    kAudioBitrate,
    kVideoBitrate,
    kWidth,
    kHeight,
    kAlbumArt,
    kFileSize,
    kVoConfigured,
};
struct ObservedProperty {
    const char* name;
    mpv_format format;
};
constexpr std::array<ObservedProperty, 17> kObserved = {{
    {"pause", MPV_FORMAT_FLAG},
    {"duration", MPV_FORMAT_DOUBLE},
    {"time-pos", MPV_FORMAT_DOUBLE},
    {"volume", MPV_FORMAT_DOUBLE},
    {"mute", MPV_FORMAT_FLAG},
    {"idle-active", MPV_FORMAT_FLAG},
    // The tags, with the ICY title an internet radio sends as it plays.
    {"metadata", MPV_FORMAT_NODE},
    {"media-title", MPV_FORMAT_STRING},
    {"audio-codec-name", MPV_FORMAT_STRING},
    {"video-format", MPV_FORMAT_STRING},
    {"audio-bitrate", MPV_FORMAT_DOUBLE},
    {"video-bitrate", MPV_FORMAT_DOUBLE},
    {"width", MPV_FORMAT_INT64},
    {"height", MPV_FORMAT_INT64},
    // A cover image is a video track, but no picture to watch.
    {"current-tracks/video/albumart", MPV_FORMAT_FLAG},
    // Unknown for a live stream (no Content-Length), whose duration mpv
    // gives as the length of what it has cached so far.
    {"file-size", MPV_FORMAT_INT64},
    {"vo-configured", MPV_FORMAT_FLAG},
}};

/// The value of key in an mpv map node, ignoring letter case ("Title",
/// "TITLE" and "title" come from different containers); empty when absent.
std::string mapValue(const mpv_node& node, const char* key) {
    if (node.format != MPV_FORMAT_NODE_MAP || !node.u.list) return {};
    const mpv_node_list& list = *node.u.list;
    for (int i = 0; i < list.num; ++i) {
        if (QString::fromUtf8(list.keys[i]).compare(QLatin1String(key), Qt::CaseInsensitive) != 0) continue;
        const mpv_node& value = list.values[i];
        if (value.format == MPV_FORMAT_STRING && value.u.string) return value.u.string;
    }
    return {};
}

// The player's start settings, and the switches that keep the embedded core
// from reading user configuration, binding keys or drawing its own controls.
constexpr std::array<std::array<const char*, 2>, 16> kStartOptions = {{
    {"vo", "libmpv"},
    {"hwdec", "no"},
    {"ytdl", "no"},
    {"input-default-bindings", "no"},
    {"input-vo-keyboard", "no"},
    {"osc", "no"},
    {"terminal", "no"},
    {"config", "no"},
    {"idle", "yes"},
    // The picture keeps its shape in any size of window (bars, no stretching).
    {"keepaspect", "yes"},
    {"volume", "50"},
    {"mute", "no"},
    {"speed", "1.0"},
    {"loop-file", "no"},
    {"loop-playlist", "no"},
    // Without a sound device a video still plays, silently.
    {"audio-fallback-to-null", "yes"},
}};

constexpr qint64 kTimePosIntervalMs = 250;

void* getProcAddress(void* /*ctx*/, const char* name) {
    QOpenGLContext* gl = QOpenGLContext::currentContext();
    return gl ? reinterpret_cast<void*>(gl->getProcAddress(QByteArray(name))) : nullptr;
}

}  // namespace

MpvPlayerWidget::MpvPlayerWidget(QWidget* parent) : QOpenGLWidget(parent) {
    if (!mpv_) return;
    mpv_handle* h = mpv_.get();
    for (const auto& [name, value] : kStartOptions) mpv_set_option_string(h, name, value);
    if (mpv_initialize(h) < 0) {
        mpv_.reset();
        return;
    }
    for (std::size_t i = 0; i < kObserved.size(); ++i)
        mpv_observe_property(h, i, kObserved[i].name, kObserved[i].format);
    mpv_set_wakeup_callback(h, &MpvPlayerWidget::onWakeup, this);
    timePosThrottle_.start();
    connect(this, &QOpenGLWidget::frameSwapped, this, [this] {
        if (render_) mpv_render_context_report_swap(render_);
    });
}

MpvPlayerWidget::~MpvPlayerWidget() {
    // No callback may post to this object once its destruction has begun,
    // and QOpenGLWidget's own destructor must not call back into this part.
    if (mpv_) mpv_set_wakeup_callback(mpv_.get(), nullptr, nullptr);
    if (QOpenGLContext* gl = context()) disconnect(gl, nullptr, this, nullptr);
    disconnect(this, &QOpenGLWidget::frameSwapped, this, nullptr);
    // The render context holds GL objects of this widget's context: it must
    // go while that context is current, and before the core it renders.
    freeRenderContext();
    mpv_.reset();
}

void MpvPlayerWidget::onWakeup(void* self) {
    auto* w = static_cast<MpvPlayerWidget*>(self);
    // One queued drain at a time is enough: it reads every waiting event.
    if (w->drainQueued_.exchange(true)) return;
    QMetaObject::invokeMethod(w, &MpvPlayerWidget::drainEvents, Qt::QueuedConnection);
}

void MpvPlayerWidget::onRenderUpdate(void* self) {
    auto* w = static_cast<MpvPlayerWidget*>(self);
    QMetaObject::invokeMethod(w, qOverload<>(&QWidget::update), Qt::QueuedConnection);
}

void MpvPlayerWidget::initializeGL() {
    if (!mpv_ || render_) return;
    mpv_opengl_init_params glInit{&getProcAddress, nullptr};
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_OPENGL)},
        {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &glInit},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    if (mpv_render_context_create(&render_, mpv_.get(), params) < 0) {
        render_ = nullptr;
        return;
    }
    mpv_render_context_set_update_callback(render_, &MpvPlayerWidget::onRenderUpdate, this);
    // Moving the widget to another window replaces its GL context; the render
    // context must be freed with the old one and is made anew in initializeGL.
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &MpvPlayerWidget::freeRenderContext,
            Qt::UniqueConnection);
}

void MpvPlayerWidget::paintGL() {
    QOpenGLFunctions* f = context()->functions();
    f->glClearColor(0, 0, 0, 1);
    f->glClear(GL_COLOR_BUFFER_BIT);
    // Without a picture (nothing loaded, sound only) mpv draws nothing new,
    // and the last frame of an earlier medium must not stay.
    if (!render_ || idle_ || !info_.hasVideo()) return;
    const qreal ratio = devicePixelRatioF();
    mpv_opengl_fbo fbo{static_cast<int>(defaultFramebufferObject()), static_cast<int>(std::lround(width() * ratio)),
                       static_cast<int>(std::lround(height() * ratio)), 0};
    int flipY = 1;
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_OPENGL_FBO, &fbo},
        {MPV_RENDER_PARAM_FLIP_Y, &flipY},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context_render(render_, params);
}

void MpvPlayerWidget::freeRenderContext() {
    if (!render_) return;
    const bool madeCurrent = context() != nullptr;
    if (madeCurrent) makeCurrent();
    mpv_render_context_set_update_callback(render_, nullptr, nullptr);
    mpv_render_context_free(render_);
    render_ = nullptr;
    if (madeCurrent) doneCurrent();
}

void MpvPlayerWidget::command(std::initializer_list<const char*> args) {
    if (!mpv_) return;
    std::vector<const char*> argv(args);
    argv.push_back(nullptr);
    mpv_command_async(mpv_.get(), 0, argv.data());
}

void MpvPlayerWidget::setFlag(const char* name, bool value) {
    if (!mpv_) return;
    int flag = value ? 1 : 0;
    mpv_set_property_async(mpv_.get(), 0, name, MPV_FORMAT_FLAG, &flag);
}

void MpvPlayerWidget::setUrl(const std::string& url) { load(url, false); }

void MpvPlayerWidget::reopen(const std::string& url) { load(url, true); }

void MpvPlayerWidget::load(const std::string& url, bool quiet) {
    url_ = url;
    started_ = false;
    everStarted_ = false;
    quiet_ = quiet;
    if (url.empty()) {
        command({"stop"});
        return;
    }
    setFlag("pause", false);
    command({"loadfile", url_.c_str(), "replace"});
}

bool MpvPlayerWidget::hasKnownSize() const {
    std::int64_t size = 0;
    return mpv_ && mpv_get_property(mpv_.get(), "file-size", MPV_FORMAT_INT64, &size) >= 0 && size > 0;
}

void MpvPlayerWidget::stop() {
    started_ = false;
    command({"stop"});
    update();
}

void MpvPlayerWidget::close() {
    stop();
    command({"playlist-clear"});
    url_.clear();
}

void MpvPlayerWidget::play() {
    if (!idle_ || url_.empty()) {
        setFlag("pause", false);
        return;
    }
    setUrl(url_);
}

void MpvPlayerWidget::pause() { setFlag("pause", true); }

void MpvPlayerWidget::togglePause() {
    if (paused_ || idle_)
        play();
    else
        pause();
}

void MpvPlayerWidget::seek(double seconds) {
    if (!mpv_) return;
    const std::string pos = std::to_string(seconds);
    command({"seek", pos.c_str(), "absolute"});
}

void MpvPlayerWidget::setVolume(int volume) {
    if (!mpv_) return;
    volume_ = std::clamp(volume, 0, 100);
    double v = volume_;
    mpv_set_property_async(mpv_.get(), 0, "volume", MPV_FORMAT_DOUBLE, &v);
    // Told at once, so a second step right after the first counts from it.
    emit volumeChanged(volume_);
}

void MpvPlayerWidget::setMuted(bool muted) {
    if (!mpv_) return;
    muted_ = muted;
    setFlag("mute", muted);
    emit mutedChanged(muted_);
}

void MpvPlayerWidget::drainEvents() {
    drainQueued_.store(false);
    if (!mpv_) return;
    // A receiver of a signal emitted here may delete this widget.
    const QPointer<MpvPlayerWidget> alive(this);
    for (;;) {
        mpv_event* event = mpv_wait_event(mpv_.get(), 0);
        if (!event || event->event_id == MPV_EVENT_NONE) break;
        handleEvent(*event);
        if (!alive || !mpv_) return;
    }
    if (infoDirty_) updateMediaInfo();
}

void MpvPlayerWidget::handleEvent(const mpv_event& event) {
    switch (event.event_id) {
        case MPV_EVENT_START_FILE:
            started_ = false;
            resetMediaInfo();
            break;
        case MPV_EVENT_FILE_LOADED:
        case MPV_EVENT_PLAYBACK_RESTART:
            if (!started_) {
                started_ = true;
                everStarted_ = true;
                emit playbackStarted();
            }
            break;
        case MPV_EVENT_END_FILE:
            handleEndFile(event);
            break;
        case MPV_EVENT_PROPERTY_CHANGE:
            handleProperty(event.reply_userdata, *static_cast<const mpv_event_property*>(event.data));
            break;
        default:
            break;
    }
}

void MpvPlayerWidget::handleEndFile(const mpv_event& event) {
    const auto* end = static_cast<const mpv_event_end_file*>(event.data);
    started_ = false;
    timePos_ = 0;
    const bool failed = end->reason == MPV_END_FILE_REASON_ERROR;
    const QString errorText = failed ? QString::fromUtf8(mpv_error_string(end->error)) : QString();
    // The last frame goes with its medium.
    update();
    const int error = failed ? end->error : 0;
    emit endFile(static_cast<int>(end->reason), error, errorText);
    if (!failed) return;
    const bool box = errorDialogs_ && !quiet_ && !everStarted_;
    emit playbackError(errorText, CodePage::toUnicode(url_));
    if (box) showError(error, errorText);
}

void MpvPlayerWidget::showError(int error, const QString& reason) {
    const QString url = CodePage::toUnicode(url_);
    ErrorBoxWords words = errorBoxWords_ ? errorBoxWords_(error, url) : ErrorBoxWords{};
    if (words.title.isEmpty()) words.title = tr("Media Player");
    if (words.text.isEmpty()) words.text = tr("The medium cannot be played.\n\n%1\n\nReason: %2").arg(url, reason);
    auto* box = new QMessageBox(QMessageBox::Warning, words.title, words.text, QMessageBox::Ok, this);
    box->setTextFormat(Qt::PlainText);
    box->setAttribute(Qt::WA_DeleteOnClose);
    // Non-blocking: the player reports, the program goes on.
    box->open();
}

void MpvPlayerWidget::handleProperty(std::uint64_t id, const mpv_event_property& p) {
    const bool has = p.format != MPV_FORMAT_NONE && p.data != nullptr;
    const bool flag = has && p.format == MPV_FORMAT_FLAG && *static_cast<const int*>(p.data) != 0;
    const double number = has && p.format == MPV_FORMAT_DOUBLE ? *static_cast<const double*>(p.data) : 0.0;
    switch (id) {
        case kPause:
            paused_ = flag;
            emit pausedChanged(paused_);
            break;
        case kDuration:
            rawDuration_ = number;
            updateDuration();
            break;
        case kFileSize:
            updateDuration();
            break;
        case kTimePos:
            timePos_ = number;
            if (timePosThrottle_.elapsed() >= kTimePosIntervalMs) {
                timePosThrottle_.restart();
                emit timePosChanged(timePos_);
            }
            break;
        case kVolume:
            if (has) volume_ = static_cast<int>(std::lround(number));
            emit volumeChanged(volume_);
            break;
        case kMute:
            muted_ = flag;
            emit mutedChanged(muted_);
            break;
        case kVoConfigured:
            if (videoShown_ != flag) {
                videoShown_ = flag;
                emit videoShownChanged(videoShown_);
            }
            break;
        case kIdleActive:
            idle_ = flag;
            if (idle_) {
                started_ = false;
                update();
            }
            emit idleChanged(idle_);
            break;
        case kMetadata:
            icyTitle_ = has && p.format == MPV_FORMAT_NODE
                            ? mapValue(*static_cast<const mpv_node*>(p.data), "icy-title")
                            : std::string();
            tagTitle_ = has && p.format == MPV_FORMAT_NODE ? mapValue(*static_cast<const mpv_node*>(p.data), "title")
                                                           : std::string();
            infoDirty_ = true;
            break;
        case kMediaTitle:
        case kAudioCodec:
        case kVideoFormat: {
            const char* text = has && p.format == MPV_FORMAT_STRING ? *static_cast<char* const*>(p.data) : nullptr;
            std::string& target = id == kMediaTitle ? mediaTitle_ : id == kAudioCodec ? audioCodec_ : videoFormat_;
            target = text ? text : "";
            infoDirty_ = true;
            break;
        }
        case kAudioBitrate:
            audioBitrate_ = number;
            infoDirty_ = true;
            break;
        case kVideoBitrate:
            videoBitrate_ = number;
            infoDirty_ = true;
            break;
        case kWidth:
        case kHeight: {
            const int v =
                has && p.format == MPV_FORMAT_INT64
                    ? static_cast<int>(std::clamp<std::int64_t>(*static_cast<const std::int64_t*>(p.data), 0, 1 << 16))
                    : 0;
            (id == kWidth ? width_ : height_) = v;
            infoDirty_ = true;
            break;
        }
        case kAlbumArt:
            albumArt_ = flag;
            infoDirty_ = true;
            break;
        default:
            break;
    }
}

void MpvPlayerWidget::updateDuration() {
    // The size is asked of mpv now rather than kept from an event: the
    // events of a new medium may come in any order.
    const double duration = rawDuration_ > 0 && hasKnownSize() ? rawDuration_ : 0;
    if (duration == duration_) return;
    duration_ = duration;
    infoDirty_ = true;
    emit durationChanged(duration_);
}

void MpvPlayerWidget::resetMediaInfo() {
    mediaTitle_.clear();
    audioCodec_.clear();
    videoFormat_.clear();
    icyTitle_.clear();
    tagTitle_.clear();
    audioBitrate_ = videoBitrate_ = 0;
    width_ = height_ = 0;
    albumArt_ = false;
    info_ = {};
    infoDirty_ = true;
    // Through updateDuration, so the seek bar hears that the new medium has
    // no length yet: a length left from the last one would give a live
    // stream a seek bar.
    rawDuration_ = 0;
    updateDuration();
}

void MpvPlayerWidget::updateMediaInfo() {
    infoDirty_ = false;
    platform::MediaInfo next;
    next.streamTitle = !icyTitle_.empty() ? icyTitle_ : tagTitle_;
    next.mediaTitle = mediaTitle_;
    next.audioCodec = audioCodec_;
    const bool picture = width_ > 0 && height_ > 0 && !albumArt_;
    next.width = picture ? width_ : 0;
    next.height = picture ? height_ : 0;
    if (picture) next.videoCodec = videoFormat_;
    // In whole kbit/s, so the estimate's small swings do not count as news.
    next.bitrateKbps = static_cast<int>(std::lround((audioBitrate_ + (picture ? videoBitrate_ : 0)) / 1000.0));
    next.duration = duration_ > 0 ? duration_ : 0;
    const bool pictureCame = picture && !info_.hasVideo();
    if (next == info_) return;
    info_ = std::move(next);
    if (!info_.hasVideo() || pictureCame) update();
    emit mediaInfoChanged(info_);
}

}  // namespace cd::app
