#pragma once
// The Qt side of one run: the real ports (mpv player, web views, message
// boxes, desktop services, QSettings, event loop), one FormView per window,
// and the core's Program they drive. The views raise the controls' signals,
// which the program's subsystems connected; the shell holds no program logic.
#include <QObject>
#include <filesystem>
#include <map>
#include <memory>

#include "app/desktop_session.h"
#include "app/form_view.h"
#include "app/player_key_router.h"
#include "app/player_widget.h"
#include "app/qt_dialogs.h"
#include "app/qt_event_loop.h"
#include "app/qt_event_pump.h"
#include "app/qt_settings_store.h"
#include "app/qt_shell.h"
#include "app/web_view.h"
#include "mainwindow/program.h"
#include "platform/configuration.h"

namespace cd::app {

struct AppShellOptions {
    /// Per-user settings file; empty: the user's standard place.
    QString settingsFile;
    /// The player's own error boxes (tests switch them off).
    bool playerErrorDialogs = true;
    /// The session bus the MPRIS player and the screensaver inhibit use.
    QDBusConnection bus = QDBusConnection::sessionBus();
};

class AppShell : public QObject {
    Q_OBJECT
public:
    AppShell(platform::Configuration config, std::filesystem::path programFolder, std::filesystem::path registryFolder,
             AppShellOptions options = {});
    ~AppShell() override;

    /// Loads the splash window; its timer opens the main window.
    void start();

    mainwindow::Program& program() { return *program_; }
    FormView* viewFor(const ui::Form& form) const;
    FormView* mainView() const { return viewFor(program_->windows.mainWindow); }
    PlayerWidget* playerWidget() const { return playerWidget_; }
    MpvPlayerWidget* player() const;
    WebView* videoView() const { return videoView_; }
    WebView* bannerView() const { return bannerView_; }
    QtDialogs& dialogs() { return dialogs_; }
    /// The MPRIS player and the screensaver inhibit.
    DesktopSession* desktopSession() const { return desktop_.get(); }

signals:
    /// The program ended (the main window was unloaded, or a second instance stopped).
    void finished();

private:
    void buildViews();
    /// What plays, for the panel over a player without video.
    QString playingTitle() const;
    void showModal(ui::Form& form);
    void show(ui::Form& form);
    void connectPlayer(const QDBusConnection& bus);

    std::unique_ptr<QtSettingsStore> settings_;
    QtEventLoop loop_;
    QtEventPump pump_;
    QtDialogs dialogs_;
    QtShell shell_;
    // Owned by the main window's view once placed there.
    PlayerWidget* playerWidget_ = nullptr;
    WebView* videoView_ = nullptr;
    WebView* bannerView_ = nullptr;
    std::unique_ptr<mainwindow::Program> program_;
    std::map<const ui::Form*, std::unique_ptr<FormView>> views_;
    // Both follow the program's state and go before it.
    std::unique_ptr<PlayerKeyRouter> keys_;
    std::unique_ptr<DesktopSession> desktop_;
    bool ended_ = false;
};

/// The drawn "channel offline" picture shown over the player area.
QPixmap OfflinePicture(const QSize& size, const QString& text = QStringLiteral("Channel offline"));
/// The program's window icon, drawn.
QIcon ProgramIcon();

}  // namespace cd::app
