#pragma once
// Captions that must stay readable in any language: a button, check box,
// label or panel title whose text is longer than its place grows into the
// free room beside it (and a wrapping label into the room below it); where
// that is not enough, the caption is shortened with "…" and the whole text
// becomes the widget's tooltip, so no caption is ever cut without a way to
// read it.
#include <QRect>
#include <QString>

class QWidget;

namespace cd::app {

/// True when text shows whole in w at w's present size (for a wrapping
/// label: on as many lines as its height holds).
bool captionFits(const QWidget* w, const QString& text);

/// Sets text on w (a QPushButton, QCheckBox, QLabel or QGroupBox) and makes
/// it readable: w keeps its place and grows, within room (in its parent's
/// coordinates, holding w's present geometry), only as far as the text
/// needs; what does not fit even then is elided with the whole of plain as
/// the tooltip. plain is the caption as the user reads it (text may have
/// its mnemonic ampersands doubled).
void fitCaption(QWidget* w, const QString& text, const QString& plain, const QRect& room);

}  // namespace cd::app
