#pragma once
// The real program's shell on a bench's temporary folder, started until its
// main window shows. Nothing leaves the machine: every server is a closed
// local port.
#include <QApplication>
#include <memory>

#include "app/app_shell.h"
#include "support/temp_dir.h"

namespace cd::bench {

/// dir holds Data.txt; settings.ini is written from settings (the
/// [Settings] lines).
inline std::unique_ptr<app::AppShell> startShell(test::TempDir& dir, const std::string& settings) {
    dir.write("settings.ini", "[Settings]\n" + settings);
    auto config = platform::Configuration::defaults();
    for (std::string* host : {&config.hosts.catalogue, &config.hosts.language, &config.hosts.banner,
                              &config.hosts.video, &config.hosts.videoRegional, &config.hosts.videoPlayer})
        *host = "127.0.0.1:9";
    app::AppShellOptions options;
    options.settingsFile = QString::fromStdString((dir / "settings.ini").string());
    options.playerErrorDialogs = false;
    auto shell = std::make_unique<app::AppShell>(config, dir.path(), dir / "registry", options);
    shell->start();
    while (!shell->program().windows.mainWindow.visible()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QApplication::processEvents();
    return shell;
}

}  // namespace cd::bench
