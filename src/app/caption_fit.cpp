#include "app/caption_fit.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

namespace cd::app {

namespace {

const QString kEllipsis = QStringLiteral("\u2026");

void setCaption(QWidget* w, const QString& text) {
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        button->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(w))
        label->setText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(w))
        group->setTitle(text);
}

bool wraps(const QWidget* w) {
    const auto* label = qobject_cast<const QLabel*>(w);
    return label && label->wordWrap();
}

/// The width w needs for text on one line, its frame and padding included.
int oneLineWidth(const QWidget* w, const QString& text) {
    const QFontMetrics fm = w->fontMetrics();
    if (qobject_cast<const QGroupBox*>(w))
        // The title sits indented in the frame's top edge.
        return fm.horizontalAdvance(text) + 2 * fm.height();
    if (const auto* label = qobject_cast<const QLabel*>(w)) {
        const QMargins m = label->contentsMargins();
        return fm.horizontalAdvance(text) + m.left() + m.right() + 2 * label->margin() + 2 * label->indent() + 1;
    }
    // A button's or check box's own size hint holds its padding and box;
    // the hint of the text it shows now, grown by the text's difference.
    const auto* button = qobject_cast<const QAbstractButton*>(w);
    if (!button) return 0;
    return button->sizeHint().width() - fm.horizontalAdvance(button->text()) + fm.horizontalAdvance(text);
}

bool wrappedFits(const QLabel* label, int width, int height) { return label->heightForWidth(width) <= height; }

/// The longest start of text, followed by "…", that fits.
template <typename Fits>
QString elide(const QString& text, Fits fits) {
    int lo = 0;
    int hi = static_cast<int>(text.size());
    while (lo < hi) {
        const int mid = (lo + hi + 1) / 2;
        if (fits(text.left(mid).trimmed() + kEllipsis))
            lo = mid;
        else
            hi = mid - 1;
    }
    return text.left(lo).trimmed() + kEllipsis;
}

void fitOneLine(QWidget* w, const QString& text, const QString& plain, const QRect& room) {
    const int need = oneLineWidth(w, text);
    if (need <= w->width()) return;
    // Groups are panels: their size is the layout's, only the title adapts.
    if (!qobject_cast<QGroupBox*>(w)) {
        const QRect g = w->geometry();
        const int most = std::max(g.width(), room.right() - g.left() + 1);
        w->setGeometry(g.left(), g.top(), std::min(need, most), g.height());
        if (need <= w->width()) return;
    }
    const int width = w->width();
    setCaption(w, elide(text, [&](const QString& s) { return oneLineWidth(w, s) <= width; }));
    w->setToolTip(plain);
}

void fitWrapped(QLabel* label, const QString& text, const QString& plain, const QRect& room) {
    const QRect g = label->geometry();
    if (wrappedFits(label, g.width(), g.height())) return;
    const int widest = std::max(g.width(), room.right() - g.left() + 1);
    const int tallest = std::max(g.height(), room.bottom() - g.top() + 1);
    // Down first (the text keeps its lines' length), then to the side.
    if (wrappedFits(label, g.width(), tallest)) {
        label->setGeometry(g.left(), g.top(), g.width(), label->heightForWidth(g.width()));
        return;
    }
    if (wrappedFits(label, widest, g.height())) {
        int lo = g.width();
        int hi = widest;
        while (lo < hi) {
            const int mid = (lo + hi) / 2;
            if (wrappedFits(label, mid, g.height()))
                hi = mid;
            else
                lo = mid + 1;
        }
        label->setGeometry(g.left(), g.top(), lo, g.height());
        return;
    }
    // Not both ways at once: the room below was measured at the old width.
    label->setGeometry(g.left(), g.top(), widest, g.height());
    label->setText(elide(text, [&](const QString& s) {
        label->setText(s);
        return wrappedFits(label, widest, g.height());
    }));
    label->setToolTip(plain);
}

}  // namespace

bool captionFits(const QWidget* w, const QString& text) {
    if (wraps(w)) return wrappedFits(qobject_cast<const QLabel*>(w), w->width(), w->height());
    return oneLineWidth(w, text) <= w->width();
}

void fitCaption(QWidget* w, const QString& text, const QString& plain, const QRect& room) {
    setCaption(w, text);
    w->setToolTip(QString());
    if (text.isEmpty()) return;
    if (auto* label = qobject_cast<QLabel*>(w); label && label->wordWrap())
        fitWrapped(label, text, plain, room);
    else
        fitOneLine(w, text, plain, room);
}

}  // namespace cd::app
