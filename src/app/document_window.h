#pragma once
// A page of the program's own (the help document) shown in a window of the
// program, for desktops that have no program to open it with.
#include <QString>

class QTextBrowser;

namespace cd::app {

/// Shows the local HTML or text file path in the program's document window
/// (one window, reused); false when the file cannot be read.
bool ShowDocumentWindow(const QString& path);

/// The document window, once shown; null before.
QTextBrowser* DocumentWindow();

}  // namespace cd::app
