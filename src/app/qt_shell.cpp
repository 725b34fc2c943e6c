#include "app/qt_shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

#include "app/document_window.h"

namespace cd::app {

bool QtShell::open(const std::string& pathOrAddress) {
    const QString what = QString::fromStdString(pathOrAddress).trimmed();
    if (what.isEmpty()) return false;
    QUrl url;
    if (what.startsWith(QLatin1Char('/')) || QFileInfo::exists(what)) {
        url = QUrl::fromLocalFile(QFileInfo(what).absoluteFilePath());
    } else if (what.contains(QLatin1String("://")) || what.startsWith(QLatin1String("mailto:"))) {
        url = QUrl(what, QUrl::TolerantMode);
    } else {
        url = QUrl::fromUserInput(what);
    }
    if (!url.isValid()) return false;
    if (QDesktopServices::openUrl(url)) return true;
    // A desktop without a program to open pages with: the program's own
    // pages still show, in a window of the program.
    return url.isLocalFile() && ShowDocumentWindow(url.toLocalFile());
}

}  // namespace cd::app
