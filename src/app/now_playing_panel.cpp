#include "app/now_playing_panel.h"

#include <QPainter>
#include <algorithm>

namespace cd::app {

NowPlayingPanel::NowPlayingPanel(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void NowPlayingPanel::setTexts(const QString& heading, const QString& line) {
    if (heading == heading_ && line == line_) return;
    heading_ = heading;
    line_ = line;
    update();
}

void NowPlayingPanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(18, 20, 26));
    const QRect area = rect().adjusted(16, 16, -16, -16);
    if (area.width() <= 0 || area.height() <= 0) return;

    QFont headingFont = font();
    headingFont.setBold(true);
    headingFont.setPixelSize(std::clamp(height() / 9, 12, 48));
    QFont lineFont = font();
    lineFont.setPixelSize(std::clamp(height() / 16, 10, 28));
    const QFontMetrics hm(headingFont);
    const QFontMetrics lm(lineFont);
    const int gap = line_.isEmpty() ? 0 : lm.height() / 2;
    const int total = hm.height() + (line_.isEmpty() ? 0 : gap + lm.height());
    int y = area.top() + (area.height() - total) / 2;

    p.setFont(headingFont);
    p.setPen(QColor(235, 238, 245));
    p.drawText(QRect(area.left(), y, area.width(), hm.height()), Qt::AlignCenter,
               hm.elidedText(heading_, Qt::ElideRight, area.width()));
    if (line_.isEmpty()) return;
    y += hm.height() + gap;
    p.setFont(lineFont);
    p.setPen(QColor(170, 178, 195));
    p.drawText(QRect(area.left(), y, area.width(), lm.height()), Qt::AlignCenter,
               lm.elidedText(line_, Qt::ElideRight, area.width()));
}

}  // namespace cd::app
