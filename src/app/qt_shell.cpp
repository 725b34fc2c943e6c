#include "app/qt_shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

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
    return QDesktopServices::openUrl(url);
}

}  // namespace cd::app
