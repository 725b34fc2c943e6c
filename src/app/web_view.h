#pragma once
// An embedded web view: the video page (a local file written by the program)
// and the banner page. It needs Qt::AA_ShareOpenGLContexts set before the
// QApplication is created; running as root also needs
// QTWEBENGINE_DISABLE_SANDBOX=1 in the environment.
#include <QWebEngineView>

#include "platform/browser.h"

namespace cd::app {

class WebView : public QWebEngineView, public platform::Browser {
    Q_OBJECT
public:
    explicit WebView(QWidget* parent = nullptr);

    /// Shows an address ("www.host/page" gets http://).
    void navigate(const std::string& address) override;
    /// Loads the local file at path anew, even when it is the page shown:
    /// the program rewrites the same file for every video.
    void navigate2(const std::string& path) override;

    // loadFinished(bool ok) is QWebEngineView's own signal.
};

}  // namespace cd::app
