#include "app/status_label.h"

#include <QPainter>
#include <QStyle>

namespace cd::app {

StatusLabel::StatusLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

void StatusLabel::setStatus(const QString& text) {
    full_ = text;
    setText(text);
    updateTip();
}

void StatusLabel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect r = contentsRect();
    const QString shown = fontMetrics().elidedText(full_, Qt::ElideRight, r.width());
    style()->drawItemText(&p, r, Qt::AlignLeft | Qt::AlignVCenter, palette(), isEnabled(), shown, foregroundRole());
}

void StatusLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    updateTip();
}

void StatusLabel::updateTip() {
    const bool cut = fontMetrics().horizontalAdvance(full_) > contentsRect().width();
    setToolTip(cut ? full_ : QString());
}

}  // namespace cd::app
