#include "app/document_window.h"

#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>

namespace cd::app {

namespace {
QPointer<QTextBrowser> gWindow;
}  // namespace

bool ShowDocumentWindow(const QString& path) {
    const QFileInfo file(path);
    if (!file.isFile() || !file.isReadable()) return false;
    if (!gWindow) {
        gWindow = new QTextBrowser();
        gWindow->setObjectName(QStringLiteral("documentWindow"));
        gWindow->setAttribute(Qt::WA_DeleteOnClose);
        // Links to the web go to the desktop; links within the document stay.
        gWindow->setOpenExternalLinks(true);
        gWindow->resize(720, 560);
    }
    gWindow->setSource(QUrl::fromLocalFile(file.absoluteFilePath()));
    gWindow->setWindowTitle(gWindow->documentTitle().isEmpty() ? file.fileName() : gWindow->documentTitle());
    gWindow->show();
    gWindow->raise();
    gWindow->activateWindow();
    return true;
}

QTextBrowser* DocumentWindow() { return gWindow; }

}  // namespace cd::app
