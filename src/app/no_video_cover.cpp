#include "app/no_video_cover.h"

#include <QEvent>

#include "app/mpv_player_widget.h"

namespace cd::app {

NoVideoCover::NoVideoCover(MpvPlayerWidget* video, std::function<QString()> title)
    : QLabel(video), video_(video), title_(std::move(title)) {
    setObjectName(QStringLiteral("noVideoCover"));
    setAlignment(Qt::AlignCenter);
    setWordWrap(true);
    setTextFormat(Qt::PlainText);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(16, 16, 20));
    p.setColor(QPalette::WindowText, QColor(230, 230, 230));
    setPalette(p);
    QFont f = font();
    f.setPointSizeF(f.pointSizeF() * 1.6);
    f.setBold(true);
    setFont(f);
    // Clicks go to the video below, as they would without the cover.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    video_->installEventFilter(this);
    connect(video_, &MpvPlayerWidget::videoShownChanged, this, &NoVideoCover::follow);
    connect(video_, &MpvPlayerWidget::playbackStarted, this, &NoVideoCover::follow);
    connect(video_, &MpvPlayerWidget::idleChanged, this, &NoVideoCover::follow);
    setGeometry(video_->rect());
    follow();
}

void NoVideoCover::follow() {
    const bool cover = !video_->isVideoShown();
    if (cover) setText(video_->isIdle() || !title_ ? QString() : title_());
    setVisible(cover);
    if (cover) raise();
}

bool NoVideoCover::eventFilter(QObject* watched, QEvent* event) {
    if (watched == video_ && event->type() == QEvent::Resize) setGeometry(video_->rect());
    return QLabel::eventFilter(watched, event);
}

}  // namespace cd::app
