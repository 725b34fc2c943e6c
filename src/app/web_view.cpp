#include "app/web_view.h"

#include <QFileInfo>
#include <QWebEnginePage>
#include <QWebEngineSettings>

namespace cd::app {

WebView::WebView(QWidget* parent) : QWebEngineView(parent) {
    QWebEngineSettings* s = settings();
    // The video page is a local file that embeds the site's remote player.
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
    s->setAttribute(QWebEngineSettings::PluginsEnabled, true);
    s->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
}

void WebView::navigate(const std::string& address) {
    const QString text = QString::fromStdString(address).trimmed();
    const QUrl url = text.contains(QLatin1String("://")) ? QUrl(text, QUrl::TolerantMode) : QUrl::fromUserInput(text);
    setUrl(url);
}

void WebView::navigate2(const std::string& path) {
    const QUrl url = QUrl::fromLocalFile(QFileInfo(QString::fromStdString(path)).absoluteFilePath());
    if (url == this->url()) {
        // Same file: its content changed on disk, so read it again.
        triggerPageAction(QWebEnginePage::ReloadAndBypassCache);
        return;
    }
    setUrl(url);
}

}  // namespace cd::app
